#include "tests/support/ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace carvendo::testing {

const char* ScriptedDialogs::answerName(AnswerKind kind)
{
    static const char* const names[] = {"answerConfirm", "answerText", "answerOption", "answerFile",
                                        "answerCancel"};
    return names[int(kind)];
}

ScriptedDialogs& ScriptedDialogs::answer(Answer answer)
{
    m_answers.push_back(std::move(answer));
    return *this;
}

ScriptedDialogs::~ScriptedDialogs()
{
    if (!m_answers.empty())
        ADD_FAILURE() << m_answers.size() << " scripted dialog answer(s) never used; the first is "
                      << answerName(m_answers.front().kind);
}

std::optional<ScriptedDialogs::Answer> ScriptedDialogs::takeAnswer(AnswerKind expected,
                                                                   const QString& question)
{
    if (m_answers.empty()) {
        ADD_FAILURE() << "Unexpected question (no answer scripted): \"" << question.toStdString() << '"';
        return std::nullopt;
    }
    const Answer answer = m_answers.front();
    if (answer.kind != expected && answer.kind != AnswerKind::Cancel) {
        ADD_FAILURE() << "Question \"" << question.toStdString() << "\" needs " << answerName(expected)
                      << " but the script's next answer is " << answerName(answer.kind);
        return std::nullopt;
    }
    m_answers.pop_front();
    return answer;
}

bool ScriptedDialogs::confirm(const QString& text, core::ConfirmButtons buttons, const QString& title)
{
    m_events.push_back(
        {.kind = DialogEvent::Kind::Confirm, .text = text, .title = title, .buttons = buttons});
    const auto answer = takeAnswer(AnswerKind::Confirm, text);
    return answer && answer->kind == AnswerKind::Confirm && answer->yes;
}

std::optional<QString> ScriptedDialogs::askText(const QString& title, const QString& prompt,
                                                const QString& defaultText)
{
    m_events.push_back(
        {.kind = DialogEvent::Kind::AskText, .text = prompt, .title = title, .defaultText = defaultText});
    const auto answer = takeAnswer(AnswerKind::Text, prompt);
    if (!answer || answer->kind == AnswerKind::Cancel)
        return std::nullopt;
    return answer->text;
}

std::optional<int> ScriptedDialogs::chooseOption(const QString& title, const QString& prompt,
                                                 const QStringList& options)
{
    m_events.push_back(
        {.kind = DialogEvent::Kind::ChooseOption, .text = prompt, .title = title, .options = options});
    const auto answer = takeAnswer(AnswerKind::Option, prompt);
    if (!answer || answer->kind == AnswerKind::Cancel)
        return std::nullopt;
    if (answer->index < 0 || answer->index >= options.size()) {
        ADD_FAILURE() << "Scripted option " << answer->index << " is not one of the " << options.size()
                      << " options of \"" << prompt.toStdString() << '"';
        return std::nullopt;
    }
    return answer->index;
}

std::optional<QString> ScriptedDialogs::chooseFile(const QString& title, const QString& filter,
                                                   core::FileMode mode, const QString& suggested)
{
    m_events.push_back({.kind = DialogEvent::Kind::ChooseFile,
                        .text = title,
                        .title = title,
                        .defaultText = suggested,
                        .filter = filter,
                        .fileMode = mode});
    const auto answer = takeAnswer(AnswerKind::File, title);
    if (!answer || answer->kind == AnswerKind::Cancel)
        return std::nullopt;
    return answer->text;
}

void ScriptedDialogs::showMessage(core::MessageKind kind, const QString& text, const QString& title)
{
    const DialogEvent::Kind eventKind = kind == core::MessageKind::Information
                                            ? DialogEvent::Kind::Information
                                        : kind == core::MessageKind::Warning ? DialogEvent::Kind::Warning
                                                                             : DialogEvent::Kind::Error;
    m_events.push_back({.kind = eventKind, .text = text, .title = title});
}

QStringList ScriptedDialogs::messages() const
{
    QStringList result;
    for (const DialogEvent& event : m_events)
        if (event.kind <= DialogEvent::Kind::Error) // information, warning or error
            result.append(event.text);
    return result;
}

QStringList ScriptedDialogs::texts(DialogEvent::Kind kind) const
{
    QStringList result;
    for (const DialogEvent& event : m_events)
        if (event.kind == kind)
            result.append(event.text);
    return result;
}

} // namespace carvendo::testing
