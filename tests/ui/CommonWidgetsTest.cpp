#include "ui/common/BackgroundTask.h"
#include "ui/common/RowsTableModel.h"
#include "ui/common/WidgetNavigator.h"
#include "ui/common/WindowRegistry.h"

#include "tests/support/QtPrinters.h"

#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

using namespace carvendo;
using namespace carvendo::ui;

namespace {

TEST(RowsTableModel, ShowsChosenColumnsWithItalianAmounts)
{
    const core::Rows rows(
        {QStringLiteral("idCliente"), QStringLiteral("RagioneSociale"), QStringLiteral("Totale")},
        {{QVariant(qint64(1)), QVariant(QStringLiteral("Rossi Srl")), QVariant(1234.5)},
         {QVariant(qint64(2)), QVariant(), QVariant(-0.005)}});
    RowsTableModel model;
    model.setColumns({{QStringLiteral("ragionesociale"), QStringLiteral("Ragione Sociale")},
                      {QStringLiteral("TOTALE"), QStringLiteral("Totale"), true},
                      {QStringLiteral("assente"), QStringLiteral("Assente")}});
    model.setRows(rows);
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Ragione Sociale"));
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), QStringLiteral("1.234,50"));
    EXPECT_EQ(model.data(model.index(1, 1)).toString(), QStringLiteral("0,00")) << "no negative zero";
    EXPECT_FALSE(model.data(model.index(1, 0)).isValid()) << "NULL shows as empty";
    EXPECT_FALSE(model.data(model.index(0, 2)).isValid()) << "a column the result lacks shows empty";
}

class ChoosingWindow : public Window
{
public:
    ChoosingWindow(const core::NavigationRequest& request, QWidget* parent)
        : Window(parent), m_request(request)
    {
        QTimer::singleShot(0, this, &QDialog::accept);
    }
    core::NavigationResult navigationResult() const override
    {
        core::NavigationResult result = Window::navigationResult();
        result.value = m_request.key.toInt() * 2;
        return result;
    }

private:
    core::NavigationRequest m_request;
};

TEST(WidgetNavigator, OpensRegisteredWindowsAndReturnsWhatTheyChose)
{
    WindowRegistry registry;
    registry.add(QStringLiteral("TDoppio"),
                 [](WindowEnvironment&, const core::NavigationRequest& request, QWidget* parent) {
                     return new ChoosingWindow(request, parent);
                 });
    WidgetNavigator navigator(registry);
    EXPECT_FALSE(navigator.open(QStringLiteral("TDoppio"), 21).accepted)
        << "no environment yet: nothing opens";

    alignas(WindowEnvironment) char storage[sizeof(WindowEnvironment)] = {};
    navigator.setEnvironment(reinterpret_cast<WindowEnvironment*>(storage)); // the test window never reads it
    const core::NavigationResult chosen = navigator.open(QStringLiteral("TDoppio"), 21);
    EXPECT_TRUE(chosen.accepted);
    EXPECT_EQ(chosen.value.toInt(), 42);
    EXPECT_FALSE(navigator.open(QStringLiteral("TNonCostruita")).accepted);
}

TEST(BackgroundTask, RunsOffTheWindowThreadAndRethrowsFailures)
{
    std::atomic<bool> offThread{false};
    const auto* windowThread = QThread::currentThread();
    runInBackground(nullptr, QStringLiteral("Prova"), [&](ProgressReporter& progress) {
        offThread = QThread::currentThread() != windowThread;
        progress.setProgress(50);
        progress.setLabel(QStringLiteral("Metà"));
    });
    EXPECT_TRUE(offThread);
    EXPECT_THROW(runInBackground(nullptr, QStringLiteral("Prova"),
                                 [](ProgressReporter&) { throw std::runtime_error("dump non riuscito"); }),
                 std::runtime_error);
}

} // namespace
