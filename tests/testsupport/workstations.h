#pragma once

#include "core/storage/presence.h"

#include <QString>

namespace ombrisa::test {

// Who a Presence poses as: a workstation other than this process, named by host, user and process.
inline Workstation posingAs(const QString& host, const QString& user, qint64 process) {
    Workstation w;
    w.host = host;
    w.user = user;
    w.process = process;
    return w;
}

// The program open on another workstation, «UFFICIO-2» with user marco: once registered it holds a slot
// of the folder's presence file, with its locks seen from here, until it goes out of scope.
class OtherWorkstation {
public:
    explicit OtherWorkstation(const QString& folder)
        : folder_(folder), presence_(folder, posingAs(QStringLiteral("UFFICIO-2"), QStringLiteral("marco"), 4242)) {}

    // Takes its slot; false, with ErrorString(), when it cannot.
    [[nodiscard]] bool Register() { return presence_.Register(); }
    const QString& ErrorString() const { return presence_.ErrorString(); }

    // Its start as the messages name it (local time, "dd/MM/yyyy hh:mm"), read back from its slot; empty
    // when its slot holds no workstation.
    QString since() const {
        for (const Workstation& w : Presence::Read(folder_))
            if (w.slot == presence_.Slot())
                return w.started.toLocalTime().toString(QStringLiteral("dd/MM/yyyy hh:mm"));
        return {};
    }

private:
    QString folder_;
    Presence presence_;
};

} // namespace ombrisa::test
