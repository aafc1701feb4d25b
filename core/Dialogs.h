#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace carvendo::core {

enum class MessageKind
{
    Information,
    Warning,
    Error
};
enum class ConfirmButtons
{
    YesNo,
    OkCancel
};
enum class FileMode
{
    Open,
    Save
};

// The person in front of the window. Logic talks to the operator only through this port: the view
// shows real message boxes, tests answer from a script. Texts are the system's Italian messages.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    void information(const QString& text, const QString& title = {})
    {
        showMessage(MessageKind::Information, text, title);
    }
    void warning(const QString& text, const QString& title = {})
    {
        showMessage(MessageKind::Warning, text, title);
    }
    void error(const QString& text, const QString& title = {})
    {
        showMessage(MessageKind::Error, text, title);
    }

    // true for Yes / OK.
    virtual bool confirm(const QString& text, ConfirmButtons buttons = ConfirmButtons::YesNo,
                         const QString& title = {}) = 0;
    // The typed text, or nullopt when cancelled.
    virtual std::optional<QString> askText(const QString& title, const QString& prompt,
                                           const QString& defaultText = {}) = 0;
    // The index of the chosen option, or nullopt when cancelled.
    virtual std::optional<int> chooseOption(const QString& title, const QString& prompt,
                                            const QStringList& options) = 0;
    // The chosen path, or nullopt when cancelled. filter as Qt file dialogs take it ("PDF (*.pdf)").
    virtual std::optional<QString> chooseFile(const QString& title, const QString& filter, FileMode mode,
                                              const QString& suggested = {}) = 0;
    virtual void beep() = 0;

protected:
    virtual void showMessage(MessageKind kind, const QString& text, const QString& title) = 0;
};

} // namespace carvendo::core
