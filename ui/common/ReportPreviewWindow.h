#pragma once

#include <QDialog>
#include <QPrinter>

#include <memory>

class QPrintPreviewWidget;
class QTextDocument;

namespace carvendo::core {
class Dialogs;
} // namespace carvendo::core

namespace carvendo::ui {

// A filled document on screen, page by page, with the commands to print it or save it as PDF.
class ReportPreviewWindow : public QDialog
{
    Q_OBJECT

public:
    ReportPreviewWindow(std::unique_ptr<QTextDocument> document, const QString& title, core::Dialogs& dialogs,
                        QWidget* parent = nullptr);
    ~ReportPreviewWindow() override;

    int pageCount() const;
    // "Stampa": the printer dialog, then the print.
    void printDocument();
    // "Salva PDF": asks where and writes the file; a failure is told in an error box.
    void savePdf();

    // Prints a document on a printer the operator picks; false when cancelled.
    static bool printWithDialog(QTextDocument& document, const QString& title, QWidget* parent);

private:
    std::unique_ptr<QTextDocument> m_document;
    QString m_title;
    core::Dialogs& m_dialogs;
    QPrinter m_printer;
    QPrintPreviewWidget* m_preview = nullptr;
};

} // namespace carvendo::ui
