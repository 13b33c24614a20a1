#include "core/UValmedo.h"
#include "core/controls/IntegerComboBox.h"
#include "core/controls/IntegerEdit.h"
#include "core/controls/PrinterComboBox.h"
#include "core/database/MemoryTable.h"
#include "reports/QrpFile.h"
#include "reports/ReportPrinting.h"
#include "reports/Report.h"
#include "reports/UPreview.h"
#include "reports/UPrint.h"
#include "reports/layouts/UQRViewVideoA4.h"
#include "support/LoggedInDesk.h"
#include "support/ModalAnswers.h"
#include "support/PdfOutput.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPrinter>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QtEndian>

namespace {

// A report of `pages` pages, each saying its number.
struct PagedReport {
    Report report;
    explicit PagedReport(int pages, const QString &title = QStringLiteral("0000000000042"))
    {
        report.title = title;
        auto *number = report.addBand(BandType::ColumnHeader, 20)->add<ReportSysData>(SysData::PageNumber, 0, 0);
        number->prefix = QStringLiteral("Strana ");
        ReportBand *body = report.addBand(BandType::Loop, 1000);
        body->printCount = pages;
    }
    PreparedReport *prepared() { return report.prepare(); }
};

TFormPreview *Open(PreparedReport *pages)
{
    auto *form = static_cast<TFormPreview *>(TCustomQRPreviewInterface().Show(pages));
    form->activateWindow();
    if (!QTest::qWaitForWindowActive(form))
        qWarning("The preview did not become active");
    return form;
}

QString Status(TFormPreview *form)
{
    return form->StatusBar->currentMessage();
}

QList<bool> PageButtons(TFormPreview *form)
{
    return {form->BitBtnFirst->isEnabled(), form->BitBtnPrev->isEnabled(), form->BitBtnNext->isEnabled(),
            form->BitBtnLast->isEnabled()};
}

// "1,2,3": the number each printed page carries.
QString PrintedPages(const QString &pdf)
{
    QStringList numbers;
    for (const QString &page : PdfPageTexts(pdf))
        numbers << page.trimmed().section(u' ', 1, 1);
    return numbers.join(u',');
}

QStringList TempQrpFiles()
{
    return QDir(QDir::tempPath()).entryList({QStringLiteral("qrp*")}, QDir::Files);
}

Answer PrintDialog(std::function<void(TFormPrint *)> fill, const QString &button = QStringLiteral("ButtonOk"))
{
    return Fill([fill](QDialog *dialog) { fill(qobject_cast<TFormPrint *>(dialog)); }, ClickButton(button));
}

} // namespace

class TestReportWindows : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_temp;

private slots:
    void initTestCase()
    {
        // The print dialog's page files go to a folder this test watches.
        QVERIFY(m_temp.isValid());
        qputenv("TMPDIR", m_temp.path().toLocal8Bit());
        QCOMPARE(QDir::tempPath(), QDir(m_temp.path()).canonicalPath());
        SetPrinterEnumeration([] { return QList<PrinterRecord>(); });
    }
    void cleanup()
    {
        QList<QPointer<TFormPreview>> previews;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *preview = qobject_cast<TFormPreview *>(w))
                previews << preview;
        qDeleteAll(previews);
        QVERIFY(TempQrpFiles().isEmpty());
    }

    void onePageReport()
    {
        PagedReport one(1);
        TFormPreview *form = Open(one.prepared());
        QCOMPARE(form->windowTitle(), QString("0000000000042"));
        QCOMPARE(PageButtons(form), (QList<bool>{false, false, false, false}));
        QCOMPARE(Status(form), QString("Stránka 1/1"));
        QCOMPARE(form->QRPreview->Zoom(), 100);
        QCOMPARE(form->IntegerComboBoxZoom->Value(), 100);
        QVERIFY(form->isModal());
        QVERIFY(form->windowFlags() & Qt::WindowStaysOnTopHint);
    }

    // The keys page through the report from whatever control has the focus.
    void pagingKeys()
    {
        PagedReport three(3);
        TFormPreview *form = Open(three.prepared());
        QCOMPARE(PageButtons(form), (QList<bool>{false, false, true, true}));
        const QList<std::tuple<QWidget *, QKeyCombination, int>> steps = {
            {form->IntegerEditGotoPage, Qt::Key_PageDown, 2},
            {form->IntegerComboBoxZoom->Edit(), Qt::Key_PageDown, 3},
            {form->QRPreview, Qt::Key_PageDown, 3},
            {form->BitBtnPrint, Qt::Key_PageUp, 2},
            {form->IntegerEditGotoPage, Qt::CTRL | Qt::Key_Home, 1},
            {form->QRPreview, Qt::Key_PageUp, 1},
            {form->IntegerComboBoxZoom->Edit(), Qt::CTRL | Qt::Key_End, 3},
        };
        for (const auto &[control, key, page] : steps) {
            control->setFocus();
            QTest::keyClick(control, key.key(), key.keyboardModifiers());
            QCOMPARE(form->QRPreview->PageNumber(), page);
            QCOMPARE(Status(form), QStringLiteral("Stránka %1/3").arg(page));
        }
        QCOMPARE(PageButtons(form), (QList<bool>{true, true, false, false}));
        form->BitBtnPrev->click();
        QCOMPARE(PageButtons(form), (QList<bool>{true, true, true, true}));
        form->BitBtnFirst->click();
        QCOMPARE(form->QRPreview->PageNumber(), 1);
    }

    void pageBox()
    {
        PagedReport three(3);
        TFormPreview *form = Open(three.prepared());
        TIntegerEdit *box = form->IntegerEditGotoPage;
        box->setFocus();
        auto type = [&](const QString &keys) {
            box->selectAll();
            QTest::keyClicks(box, keys);
            QTest::keyClick(box, Qt::Key_Return);
        };
        type("2");
        QCOMPARE(form->QRPreview->PageNumber(), 2);
        // A number outside the report leaves the page and writes it back into the box.
        for (const QString &outside : {QStringLiteral("0"), QStringLiteral("4"), QStringLiteral("9999")}) {
            type(outside);
            QCOMPARE(form->QRPreview->PageNumber(), 2);
            QCOMPARE(box->text(), QString("2"));
            QCOMPARE(box->selectedText(), QString("2"));
        }
        QCOMPARE(Status(form), QString("Stránka 2/3"));
    }

    // With the whole text selected, the boxes refuse what would leave their lower bound
    // of 1: an empty text and a 0.
    void boxBounds_data()
    {
        QTest::addColumn<bool>("zoomBox");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::newRow("page 0") << false << int(Qt::Key_0) << "1";
        QTest::newRow("page emptied") << false << int(Qt::Key_Backspace) << "1";
        QTest::newRow("page deleted") << false << int(Qt::Key_Delete) << "1";
        QTest::newRow("page 3") << false << int(Qt::Key_3) << "3";
        QTest::newRow("zoom 0") << true << int(Qt::Key_0) << "100";
        QTest::newRow("zoom emptied") << true << int(Qt::Key_Backspace) << "100";
        QTest::newRow("zoom 5") << true << int(Qt::Key_5) << "5";
    }
    void boxBounds()
    {
        QFETCH(bool, zoomBox);
        QFETCH(int, key);
        QFETCH(QString, text);
        PagedReport three(3);
        TFormPreview *form = Open(three.prepared());
        QLineEdit *box = zoomBox ? static_cast<QLineEdit *>(form->IntegerComboBoxZoom->Edit())
                                 : form->IntegerEditGotoPage;
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key(key));
        QCOMPARE(box->text(), text);
    }

    void zoom()
    {
        PagedReport one(1);
        TFormPreview *form = Open(one.prepared());
        QWidget *page = form->QRPreview->widget();
        for (int i = 0; i < 10; ++i)
            QTest::mouseClick(page, Qt::RightButton);
        // 10 % less than 10 would be 0, which the page refuses.
        QCOMPARE(form->QRPreview->Zoom(), 10);
        for (int i = 0; i < 200; ++i)
            QTest::mouseClick(page, Qt::LeftButton);
        QCOMPARE(form->QRPreview->Zoom(), 2000);
        QCOMPARE(form->IntegerComboBoxZoom->Value(), 2000);
        QCOMPARE(page->width(), qCeil(form->QRPrinter()->paperSize().width() * 20) + 20);

        form->BitBtnFitHeight->click();
        const int fit = form->QRPreview->Zoom();
        QVERIFY(fit > 2 && fit < 100);
        QCOMPARE(form->IntegerComboBoxZoom->Value(), fit);
        QVERIFY(page->height() <= form->QRPreview->maximumViewportSize().height());
        form->BitBtnFitWidth->click();
        QVERIFY(form->QRPreview->Zoom() > fit);
        QVERIFY(page->width() <= form->QRPreview->viewport()->width());

        form->IntegerComboBoxZoom->Edit()->setFocus();
        form->IntegerComboBoxZoom->Edit()->selectAll();
        QTest::keyClicks(form->IntegerComboBoxZoom->Edit(), "150");
        QTest::keyClick(form->IntegerComboBoxZoom->Edit(), Qt::Key_Return);
        QCOMPARE(form->QRPreview->Zoom(), 150);
        form->IntegerComboBoxZoom->setCurrentIndex(1);
        emit form->IntegerComboBoxZoom->activated(1);
        QCOMPARE(form->QRPreview->Zoom(), 50);
    }

    void saveOpenAndExport()
    {
        QTemporaryDir dir;
        PagedReport three(3);
        PreparedReport *pages = three.prepared();
        TFormPreview *form = Open(pages);

        FileDialogSeen seen;
        {
            ModalAnswers answers({ChooseFile(dir.filePath("kopie.qrp"), &seen)});
            form->BitBtnSave->click();
        }
        QCOMPARE(seen.proposed, QString("0000000000042.qrp"));
        const QByteArray saved = ReadBytes(dir.filePath("kopie.qrp"));
        QCOMPARE(qFromLittleEndian<qint32>(saved.constData() + QrpPageCountOffset), 3);

        {
            ModalAnswers answers({ChooseFile(dir.filePath("kopie"), &seen)});
            form->BitBtnExport->click();
        }
        QCOMPARE(seen.proposed, QString("0000000000042.rtf"));
        QVERIFY(ReadBytes(dir.filePath("kopie.rtf")).contains("Strana 3"));

        // A damaged file is refused with a message; the pages stay.
        WriteBytes(dir.filePath("bad.qrp"), saved.left(200));
        form->BitBtnLast->click();
        {
            ModalAnswers answers({ChooseFile(dir.filePath("bad.qrp")), ClickButton("ButtonOk")});
            form->ButtonOpen->click();
            QCOMPARE(answers.shown().at(1).caption, QString(" Upozornění"));
            QCOMPARE(answers.shown().at(1).text, QString("Soubor nelze otevřít..."));
        }
        QCOMPARE(pages->pageCount(), 3);
        QCOMPARE(Status(form), QString("Stránka 3/3"));

        // Another report's file shows its own first page and page count.
        PagedReport other(2, QStringLiteral(" Tržby"));
        SaveQrpFile(dir.filePath("other.qrp"), *other.prepared());
        {
            ModalAnswers answers({ChooseFile(dir.filePath("other.qrp"))});
            form->ButtonOpen->click();
        }
        QCOMPARE(Status(form), QString("Stránka 1/2"));
        QCOMPARE(PageButtons(form), (QList<bool>{false, false, true, true}));
        QVERIFY(!pages->closePreviewNotice);
    }

    // Closing by Esc, "Zavřít" or the close box ends the caller's wait, and the main window
    // takes keys again; a failing close notice does not keep the window open.
    void closingLetsTheCallerGoOn_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Esc") << "Esc";
        QTest::newRow("Zavřít") << "Zavřít";
        QTest::newRow("close box") << "close box";
    }
    void closingLetsTheCallerGoOn()
    {
        QFETCH(QString, how);
        LoggedInDesk desk(Engine::SQLite);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        PagedReport two(2);
        QString seenOpen;
        QTimer::singleShot(0, [&] {
            TFormPreview *form = nullptr;
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *f = qobject_cast<TFormPreview *>(w); f && f->isVisible())
                    form = f;
            QVERIFY(form);
            seenOpen = QStringLiteral("%1 %2").arg(two.report.previewOpen()).arg(QApplication::activeModalWidget() == form);
            form->QRPrinter()->closePreviewNotice = [] { throw std::runtime_error("notice"); };
            form->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(form));
            if (how == "Esc")
                QTest::keyClick(form->QRPreview, Qt::Key_Escape);
            else if (how == "Zavřít")
                form->BitBtnClose->click();
            else
                form->close();
        });
        QTimer guard;
        guard.callOnTimeout([] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (qobject_cast<TFormPreview *>(w))
                    w->close();
        });
        guard.start(10000);
        QElapsedTimer waited;
        waited.start();
        two.report.preview();
        QVERIFY(waited.elapsed() < 10000);
        QCOMPARE(seenOpen, QString("1 1"));
        QVERIFY(!two.report.previewOpen());
        QVERIFY(desk.window()->isEnabled());
        QVERIFY(!QApplication::activeModalWidget());
        desk.window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(desk.window()));
    }

    // The preview opens before the pages are made, with the hour-glass until the first is
    // there; the page count grows as they come, and what works on the whole report waits
    // for the last page. Closing the window meanwhile stops the pages.
    void pagesShowWhileTheyAreMade_data()
    {
        QTest::addColumn<int>("closeAt"); // pages made when the clerk closes; 0: left open
        QTest::newRow("left open") << 0;
        QTest::newRow("closed at the second page") << 2;
    }
    void pagesShowWhileTheyAreMade()
    {
        QFETCH(int, closeAt);
        constexpr int Pages = 40;
        PagedReport many(Pages);
        // Each page takes a while, so that the window answers between pages.
        many.report.bands().back()->beforePrint = [](bool &) { QThread::msleep(8); };
        struct Seen {
            int pages;
            bool complete, hourGlass, printable, modal;
            QString status;
        };
        QList<Seen> seen;
        QTimer sampler;
        sampler.setInterval(0);
        sampler.callOnTimeout([&] {
            TFormPreview *form = nullptr;
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *f = qobject_cast<TFormPreview *>(w); f && f->isVisible())
                    form = f;
            if (!form)
                return;
            const PreparedReport *pages = form->QRPrinter();
            const QCursor *cursor = QApplication::overrideCursor();
            seen << Seen{pages->pageCount(), pages->complete, cursor && cursor->shape() == Qt::WaitCursor,
                         form->BitBtnPrint->isEnabled() && form->BitBtnSave->isEnabled(),
                         QApplication::activeModalWidget() == form, Status(form)};
            if (pages->complete || (closeAt > 0 && pages->pageCount() >= closeAt))
                form->close();
        });
        sampler.start();
        many.report.preview();
        sampler.stop();
        QVERIFY(seen.size() >= 3);
        QCOMPARE(seen.first().pages, 0);
        QVERIFY(seen.first().hourGlass);
        QVERIFY(!seen.first().printable);
        QVERIFY(seen.first().modal);
        bool growing = false;
        for (const Seen &s : seen.mid(1)) {
            QVERIFY(s.pages > 0);
            QVERIFY(!s.hourGlass);
            QCOMPARE(s.printable, s.complete);
            QCOMPARE(s.status, QStringLiteral("Stránka 1/%1").arg(s.pages));
            growing = growing || (s.pages < Pages && !s.complete);
        }
        QVERIFY(growing);
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(!many.report.previewOpen());
        if (closeAt > 0) {
            QVERIFY(many.report.prepared()->pageCount() < Pages);
        } else {
            QVERIFY(seen.last().complete);
            QCOMPARE(seen.last().pages, Pages);
        }
    }

    // The lent-videos overview shows its progress window over the preview, painted with
    // the page being made, until its last page is made.
    void overviewShowsItsProgress()
    {
        MemoryTable lines;
        for (const char *field : {"VIDEO", "ZAKAZNIK"})
            lines.addField(QString::fromLatin1(field), FieldKind::Int64);
        for (const char *field : {"TITUL", "NOSIC", "JMENO", "TELEFON", "ADRESA1"})
            lines.addField(QString::fromLatin1(field), FieldKind::Text);
        for (const char *field : {"PUJCENO", "VRATIT"})
            lines.addField(QString::fromLatin1(field), FieldKind::DateTime);
        lines.open();
        const QDateTime lent(QDate(2026, 3, 2), QTime(10, 15));
        for (int i = 1; i <= 400; ++i)
            lines.append({{"VIDEO", i}, {"ZAKAZNIK", 1000 + i}, {"TITUL", QStringLiteral("Titul č. %1").arg(i)},
                          {"NOSIC", "DVD"}, {"JMENO", "Novák"}, {"TELEFON", "603123456"}, {"ADRESA1", "Brno"},
                          {"PUJCENO", lent}, {"VRATIT", lent.addDays(1)}});
        struct Seen {
            bool complete, progress;
            QString text;
        };
        QList<Seen> seen;
        int paints = 0;
        struct PaintCounter : QObject {
            int &count;
            explicit PaintCounter(int &count) : count(count) {}
            bool eventFilter(QObject *watched, QEvent *event) override
            {
                if (event->type() == QEvent::Paint && watched->objectName() == "LabelProgress")
                    ++count;
                return false;
            }
        } counter(paints);
        qApp->installEventFilter(&counter);
        QTimer sampler;
        sampler.setInterval(0);
        sampler.callOnTimeout([&] {
            TFormPreview *form = nullptr;
            QWidget *progress = nullptr;
            for (QWidget *w : QApplication::topLevelWidgets()) {
                if (auto *f = qobject_cast<TFormPreview *>(w); f && f->isVisible())
                    form = f;
                if (w->objectName() == "QRProgressForm" && w->isVisible())
                    progress = w;
            }
            if (!form)
                return;
            auto *label = progress ? progress->findChild<QLabel *>("LabelProgress") : nullptr;
            seen << Seen{form->QRPrinter()->complete, progress != nullptr, label ? label->text() : QString()};
            if (form->QRPrinter()->complete)
                form->close();
        });
        sampler.start();
        PrintLentVideos(lines, QStringLiteral(" Vypůjčená videa"));
        sampler.stop();
        qApp->removeEventFilter(&counter);
        QVERIFY(!seen.isEmpty());
        QVERIFY(seen.first().progress);
        QVERIFY(seen.first().text.startsWith("Připravuje se stránka "));
        QVERIFY(paints > 0);
        for (const Seen &s : seen)
            QCOMPARE(s.progress, !s.complete);
        QVERIFY(seen.last().complete);
    }

    // A long print shows the hour-glass and keeps the window answering its painting, while
    // the window stays until it ends.
    void printingShowsTheHourGlass()
    {
        QTemporaryDir dir;
        PdfPrints prints(dir.path());
        PagedReport many(30);
        TFormPreview *form = Open(many.prepared());
        bool printing = false;
        QList<bool> hourGlass;
        QTimer sampler;
        sampler.setInterval(0);
        sampler.callOnTimeout([&] {
            if (!printing)
                return;
            const QCursor *cursor = QApplication::overrideCursor();
            hourGlass << (cursor && cursor->shape() == Qt::WaitCursor);
            form->close();
        });
        sampler.start();
        printing = true;
        form->BitBtnPrint->click();
        printing = false;
        sampler.stop();
        QVERIFY(!hourGlass.isEmpty());
        QVERIFY(!hourGlass.contains(false));
        QVERIFY(form->isVisible());
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(PrintedPages(prints.lastFile()).count(u',') + 1, 30);
    }

    void printButtonPrintsAllPagesOnce()
    {
        QTemporaryDir dir;
        PdfPrints prints(dir.path());
        PagedReport three(3);
        three.report.printerName = QStringLiteral("Laser");
        TFormPreview *form = Open(three.prepared());
        form->BitBtnPrint->click();
        QCOMPARE(prints.files().size(), 1);
        QCOMPARE(PrintedPages(prints.lastFile()), QString("1,2,3"));
        QCOMPARE(prints.printerNames(), QStringList{"Laser"});
        QProcess info;
        info.start("pdfinfo", {prints.lastFile()});
        QVERIFY(info.waitForFinished());
        QVERIFY(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Title: +0000000000042")));
    }

    // The pages and copies asked for are printed in order, in one job; an empty selection
    // prints nothing; no page file is left behind and the preview keeps its own pages.
    void printDialog_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("copies");
        QTest::addColumn<QString>("printed");
        QTest::newRow("Ok untouched") << 0 << 0 << 1 << "1,2,3,4,5";
        QTest::newRow("all pages twice") << 0 << 0 << 2 << "1,2,3,4,5,1,2,3,4,5";
        QTest::newRow("pages 2 to 3, three copies") << 2 << 3 << 3 << "2,3,2,3,2,3";
        QTest::newRow("one page") << 5 << 5 << 1 << "5";
        QTest::newRow("first after last") << 4 << 2 << 1 << "";
        QTest::newRow("beyond the report") << 7 << 9 << 1 << "";
    }
    void printDialog()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, copies);
        QFETCH(QString, printed);
        QTemporaryDir dir;
        PdfPrints prints(dir.path());
        PagedReport five(5);
        TFormPreview *form = Open(five.prepared());
        form->BitBtnNext->click();
        // While the selection prints it is held in place of the report's own pages.
        QList<int> heldWhilePrinting;
        QTimer sampler;
        sampler.setInterval(0);
        sampler.callOnTimeout([&] { heldWhilePrinting << form->QRPrinter()->pageCount(); });
        sampler.start();
        bool allPagesChosen = false;
        ModalAnswers answers({PrintDialog([&](TFormPrint *dialog) {
            QCOMPARE(dialog->windowTitle(), QString("  Tisk"));
            QCOMPARE(dialog->RxSpinEditFrom->value(), 1);
            QCOMPARE(dialog->RxSpinEditTo->value(), 5);
            QCOMPARE(dialog->RxSpinEditTo->maximum(), 5);
            allPagesChosen = dialog->RadioButtonAllPages->isChecked();
            if (from > 0) {
                // Changing a page number chooses "Stránky".
                dialog->RxSpinEditTo->setMaximum(9999);
                dialog->RxSpinEditFrom->setValue(from);
                dialog->RxSpinEditTo->setValue(to);
                QVERIFY(dialog->RadioButtonPages->isChecked());
            }
            dialog->RxSpinEditCopy->setValue(copies);
        })});
        form->BitBtnPrintSetup->click();
        QVERIFY(allPagesChosen);
        if (printed.isEmpty()) {
            QVERIFY(prints.files().isEmpty());
            QCOMPARE(answers.shown().last().className, QString("TFormInformation"));
            QCOMPARE(answers.shown().last().text, QString("Není co tisknout..."));
        } else {
            QCOMPARE(prints.files().size(), 1);
            QCOMPARE(PrintedPages(prints.lastFile()), printed);
            QVERIFY(heldWhilePrinting.contains(int(printed.count(u',') + 1) / copies));
        }
        sampler.stop();
        QVERIFY(TempQrpFiles().isEmpty());
        QCOMPARE(form->QRPrinter()->pageCount(), 5);
        QCOMPARE(Status(form), QString("Stránka 2/5"));
    }

    void printDialogOfOnePageAndCancel()
    {
        QTemporaryDir dir;
        PdfPrints prints(dir.path());
        PagedReport one(1);
        TFormPreview *form = Open(one.prepared());
        ModalAnswers answers({PrintDialog(
            [](TFormPrint *dialog) {
                QCOMPARE(dialog->RxSpinEditFrom->value(), 1);
                QCOMPARE(dialog->RxSpinEditTo->value(), 1);
                QCOMPARE(dialog->RxSpinEditTo->maximum(), 1);
                QVERIFY(dialog->RadioButtonAllPages->isChecked());
            },
            "ButtonCancel")});
        form->BitBtnPrintSetup->click();
        QVERIFY(prints.files().isEmpty());
        QVERIFY(prints.printerNames().isEmpty());
    }

    // The printer is chosen by its name; the one chosen is kept for the printer button.
    void printerChosenByName()
    {
        SetPrinterEnumeration([] {
            PrinterRecord a, b, c;
            a.printerName = "Jehličková";
            b.printerName = "Laser";
            b.isDefault = true;
            c.printerName = "Štítky";
            return QList<PrinterRecord>{a, b, c};
        });
        QTemporaryDir dir;
        PdfPrints prints(dir.path());
        PagedReport two(2);
        two.report.printerName = "Štítky";
        TFormPreview *form = Open(two.prepared());
        QString opened;
        ModalAnswers answers({PrintDialog([&](TFormPrint *dialog) {
            opened = dialog->PrinterComboBox->PrinterName();
            QVERIFY(dialog->PrinterComboBox->SetPrinterName("Jehličková"));
        })});
        form->BitBtnPrintSetup->click();
        form->BitBtnPrint->click();
        SetPrinterEnumeration([] { return QList<PrinterRecord>(); });
        QCOMPARE(opened, QString("Štítky"));
        QCOMPARE(prints.printerNames(), (QStringList{"Jehličková", "Jehličková"}));
        QCOMPARE(prints.files().size(), 2);
    }

    // The PDF printer listed after the system's printers writes the pages to the file the
    // clerk names (the report's name proposed); cancelling that dialog prints nothing.
    void printToPdfFile()
    {
        SetPrinterEnumeration(nullptr);
        QTemporaryDir dir;
        const QString pdf = dir.filePath("Strany.pdf");
        PagedReport three(3);
        TFormPreview *form = Open(three.prepared());
        FileDialogSeen seen;
        {
            ModalAnswers answers({PrintDialog([](TFormPrint *dialog) {
                                      QVERIFY(dialog->PrinterComboBox->SetPrinterName(PdfPrinterName()));
                                  }),
                                  ChooseFile(pdf, &seen)});
            form->BitBtnPrintSetup->click();
            QCOMPARE(answers.shown().size(), 2);
        }
        QCOMPARE(seen.title, QString("Tisk do souboru PDF"));
        QCOMPARE(seen.proposed, form->windowTitle().trimmed() + ".pdf");
        QCOMPARE(PdfPageTexts(pdf).size(), 3);
        QFile::remove(pdf);
        {
            ModalAnswers answers({Reject()});
            form->BitBtnPrint->click(); // the preview keeps the printer chosen
            QCOMPARE(answers.shown().size(), 1);
        }
        QVERIFY(!QFile::exists(pdf));
        QVERIFY(TempQrpFiles().isEmpty());
        SetPrinterEnumeration([] { return QList<PrinterRecord>(); });
    }

    // A printer that cannot print is reported, and the page files still go.
    void failedPrintIsReported()
    {
        SetReportPrinterFactory([](const QString &) {
            auto printer = std::make_unique<QPrinter>();
            printer->setPrinterName("Neexistující tiskárna");
            return printer;
        });
        PagedReport two(2);
        TFormPreview *form = Open(two.prepared());
        ModalAnswers answers({PrintDialog([](TFormPrint *) {}), ClickButton("ButtonOk")});
        form->BitBtnPrintSetup->click();
        SetReportPrinterFactory(nullptr);
        QCOMPARE(answers.shown().last().caption, QString(" Upozornění"));
        QCOMPARE(answers.shown().last().text, QString("Tisk se nezdařil..."));
        const QString why = answers.shown().last().detail;
        QVERIFY2(why == "Tiskárna není k dispozici." || why == "Tisk sestavy \"0000000000042\" nelze zahájit.",
                 qPrintable(why));
        QVERIFY(TempQrpFiles().isEmpty());
        QVERIFY(form->isVisible());
    }
};

QTEST_MAIN(TestReportWindows)
#include "tst_reportwindows.moc"
