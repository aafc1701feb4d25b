#pragma once

#include "core/Dialogs.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <optional>
#include <vector>

namespace carvendo::testing {

// What the logic showed or asked, in order.
struct DialogEvent
{
    enum class Kind
    {
        Information,
        Warning,
        Error,
        Confirm,
        AskText,
        ChooseOption,
        ChooseFile,
        Beep
    };
    Kind kind = Kind::Information;
    QString text{}; // message or prompt; the title for chooseFile
    QString title{};
    core::ConfirmButtons buttons = core::ConfirmButtons::YesNo; // confirm only
    QString defaultText{};                                      // askText default, chooseFile suggestion
    QStringList options{};                                      // chooseOption only
    QString filter{};                                           // chooseFile only
    core::FileMode fileMode = core::FileMode::Open;             // chooseFile only
};

// The Dialogs port for tests: records every message and answers questions from a script.
//
//   dialogs.answerConfirm(true).answerText("B");
//
// Answers are used in order. A question with no answer scripted, or whose next answer is of another
// kind, fails the test with the question's text and gets "No"/cancel: a forgotten answer must never
// become a silent yes. Answers left unused when the object goes also fail the test.
class ScriptedDialogs final : public core::Dialogs
{
public:
    ScriptedDialogs() = default;
    ~ScriptedDialogs() override;
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    ScriptedDialogs& answerConfirm(bool yes) { return answer({AnswerKind::Confirm, yes, {}, -1}); }
    ScriptedDialogs& answerText(const QString& text) { return answer({AnswerKind::Text, false, text, -1}); }
    ScriptedDialogs& answerOption(int index) { return answer({AnswerKind::Option, false, {}, index}); }
    ScriptedDialogs& answerFile(const QString& path) { return answer({AnswerKind::File, false, path, -1}); }
    // No / Cancel to whichever question comes next.
    ScriptedDialogs& answerCancel() { return answer({AnswerKind::Cancel, false, {}, -1}); }

    const std::vector<DialogEvent>& events() const { return m_events; }
    // Texts of the information, warning and error boxes, in order.
    QStringList messages() const;
    QStringList texts(DialogEvent::Kind kind) const;
    // The text of the last event of any kind; empty when nothing was shown.
    QString lastText() const { return m_events.empty() ? QString() : m_events.back().text; }
    void clear() { m_events.clear(); } // forgets the events, keeps the script

    bool confirm(const QString& text, core::ConfirmButtons buttons = core::ConfirmButtons::YesNo,
                 const QString& title = {}) override;
    std::optional<QString> askText(const QString& title, const QString& prompt,
                                   const QString& defaultText = {}) override;
    std::optional<int> chooseOption(const QString& title, const QString& prompt,
                                    const QStringList& options) override;
    std::optional<QString> chooseFile(const QString& title, const QString& filter, core::FileMode mode,
                                      const QString& suggested = {}) override;
    void beep() override { m_events.push_back({.kind = DialogEvent::Kind::Beep}); }

protected:
    void showMessage(core::MessageKind kind, const QString& text, const QString& title) override;

private:
    enum class AnswerKind
    {
        Confirm,
        Text,
        Option,
        File,
        Cancel
    };
    struct Answer
    {
        AnswerKind kind;
        bool yes = false;
        QString text;
        int index = -1;
    };

    ScriptedDialogs& answer(Answer answer);
    static const char* answerName(AnswerKind kind);
    // The next answer when it fits the question; nullopt (and a test failure) otherwise.
    std::optional<Answer> takeAnswer(AnswerKind expected, const QString& question);

    std::vector<DialogEvent> m_events;
    std::deque<Answer> m_answers;
};

} // namespace carvendo::testing
