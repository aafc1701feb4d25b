#include "ui/common/BackgroundTask.h"

#include <QEventLoop>
#include <QPointer>
#include <QProgressDialog>
#include <QThread>

#include <exception>

namespace carvendo::ui {

namespace {

// Hands progress over to the window thread; the dialog may be gone when a late call arrives.
class DialogReporter : public ProgressReporter
{
public:
    explicit DialogReporter(QProgressDialog* dialog) : m_dialog(dialog) {}

    void setProgress(int percent) override
    {
        QMetaObject::invokeMethod(
            m_dialog,
            [dialog = m_dialog, percent] {
                if (dialog)
                    dialog->setValue(qBound(0, percent, 99)); // 100 would close it before the job ends
            },
            Qt::QueuedConnection);
    }
    void setLabel(const QString& text) override
    {
        QMetaObject::invokeMethod(
            m_dialog,
            [dialog = m_dialog, text] {
                if (dialog)
                    dialog->setLabelText(text);
            },
            Qt::QueuedConnection);
    }

private:
    QPointer<QProgressDialog> m_dialog;
};

} // namespace

void runInBackground(QWidget* parent, const QString& label, const std::function<void(ProgressReporter&)>& job)
{
    QProgressDialog dialog(label, QString(), 0, 100, parent);
    dialog.setWindowTitle(QStringLiteral("Attendere..."));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setCancelButton(nullptr); // a dump or a restore is not stopped half-way
    dialog.setMinimumDuration(0);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setValue(0);

    DialogReporter reporter(&dialog);
    std::exception_ptr failure;
    QEventLoop loop;
    QThread* thread = QThread::create([&] {
        try {
            job(reporter);
        } catch (...) {
            failure = std::current_exception();
        }
    });
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    dialog.show();
    thread->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    thread->wait();
    delete thread;
    dialog.setValue(100);
    dialog.close();
    if (failure)
        std::rethrow_exception(failure);
}

core::JobRunner backgroundJobRunner(QWidget* parent)
{
    return [parent](const QString& label, const core::LongJob& job) {
        runInBackground(parent, label, [&job](ProgressReporter& reporter) {
            job([&reporter](int percent) { reporter.setProgress(percent); });
        });
    };
}

} // namespace carvendo::ui
