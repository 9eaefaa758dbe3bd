#pragma once

#include "report/layouts/fieldtexts.h"
#include "report/preparedreport.h"

#include <QImage>
#include <array>

namespace ombrisa::report {

// The agent card layout `repDocumento` ("Scheda Agente"): one A4 portrait page with the title bar
// txtDipendente, the photo imgLogo and nine rows of captioned boxes. The languages memo is named
// "txtlingue" in the layout; the fill finds it as "txtLingue" (names are compared without regard to
// case).
ReportLayout agentCardLayout();

// The 25 memos in the order they are filled, by the name of the agent card's edit box.
extern const std::array<const char*, 25> kAgentCardMemos;

// Fills the layout: imgLogo gets `photo` (the picture of the card screen's imgFoto; a null image gets
// the placeholder picture instead), then each memo of kAgentCardMemos the trimmed text of the control
// of the same name.
void fillAgentCard(ReportLayout& layout, const FieldTexts& controls, const QImage& photo);

// agentCardLayout() filled and prepared: what the agent card's print and preview dialogs hand on.
PreparedReport prepareAgentCard(const FieldTexts& controls, const QImage& photo);

} // namespace ombrisa::report
