#pragma once

// The attachment folder "Documenti_Allegati": one folder beside the archives, shared by every client and
// agent card. A card keeps only the bare name of each attached file; the file itself is a copy kept in
// this folder under that name.

#include "core/records/records.h"

#include <QString>
#include <cstddef>

namespace ombrisa {

// What the attachment fields of a client or agent card hold (the two records give them the same size).
inline constexpr std::size_t kAttachmentFileCapacity = decltype(TRecCliente::File01)::capacity;
inline constexpr std::size_t kAttachmentDescCapacity = decltype(TRecCliente::Desc01)::capacity;
static_assert(decltype(TRecDipendente::File01)::capacity == kAttachmentFileCapacity &&
              decltype(TRecDipendente::Desc01)::capacity == kAttachmentDescCapacity);

// The bare file name of a path chosen by the user or of a name stored in a card: the part after the
// last "/" or "\". Empty when nothing is left, or for "." and "..", which name no file.
QString attachmentBareName(const QString& name);

// Whether a card can keep `bareName` as it is: a card's file field holds kAttachmentFileCapacity
// Windows-1252 characters, and a
// name cut short or with characters changed on the way would point at no stored file.
bool attachmentNameStorable(const QString& bareName);

// Full path in the attachment folder of the file a card names, for opening it. The stored name is
// reduced to its bare name first, so that a name holding a folder part ("../Contatti.pro", "/etc/passwd",
// written by another program) never points outside the folder. Empty when the name names no file.
QString attachmentPath(const QString& storedName);

// Whether copying `source` would replace another file of the folder: one of the same bare name that is
// not `source` itself.
bool attachmentWouldReplace(const QString& source);

// Copies `source` into the attachment folder (created first, with missing parents) under its bare name,
// replacing a file of that name. The copy is written under a temporary name and renamed over the stored
// file only when complete, so a failed copy leaves the folder as it was. Copying a stored file onto
// itself is a success that writes nothing. False, with `error` in Italian, when anything fails.
bool copyIntoAttachments(const QString& source, QString* error = nullptr);

} // namespace ombrisa
