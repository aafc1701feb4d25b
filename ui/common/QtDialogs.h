#pragma once

#include "core/Dialogs.h"

#include <QPointer>
#include <QWidget>

namespace carvendo::ui {

// The person in front of the screen: message boxes, input boxes and file choosers, over the
// window that is active (or the one given).
class QtDialogs : public core::Dialogs
{
public:
    explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParentWidget(QWidget* parent) { m_parent = parent; }

    bool confirm(const QString& text, core::ConfirmButtons buttons, const QString& title) override;
    std::optional<QString> askText(const QString& title, const QString& prompt,
                                   const QString& defaultText) override;
    std::optional<int> chooseOption(const QString& title, const QString& prompt,
                                    const QStringList& options) override;
    std::optional<QString> chooseFile(const QString& title, const QString& filter, core::FileMode mode,
                                      const QString& suggested) override;
    void beep() override;

protected:
    void showMessage(core::MessageKind kind, const QString& text, const QString& title) override;

private:
    QWidget* parentWidget() const;

    QPointer<QWidget> m_parent;
};

} // namespace carvendo::ui
