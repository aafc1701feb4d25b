#pragma once

#include "core/Dialogs.h"
#include "core/Error.h"

namespace carvendo::demo {

// The demo is made by the program's own windows' logic with nobody in front of it: a question is
// answered No (no card opens, no label is queued), and any message means a rule refused the demo's
// data, which is a fault of the demo: it stops with that message.
class DemoDialogs final : public core::Dialogs
{
public:
    bool confirm(const QString&, core::ConfirmButtons, const QString&) override { return false; }
    std::optional<QString> askText(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<int> chooseOption(const QString&, const QString&, const QStringList&) override
    {
        return {};
    }
    std::optional<QString> chooseFile(const QString&, const QString&, core::FileMode, const QString&) override
    {
        return {};
    }
    void beep() override {}

protected:
    void showMessage(core::MessageKind, const QString& text, const QString&) override
    {
        throw core::Error(QStringLiteral("Azienda demo non creata: %1").arg(text));
    }
};

} // namespace carvendo::demo
