// Saves pictures of PRINT for looking at it: the window with the button
// beside the tabs and the print preview of a model with settings of its
// own: tool_printshot [outdir]
#include "app/mainwindow.h"
#include "ui/mainform.h"

#include <QApplication>
#include <QDir>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QTest>

namespace {

bool save(QWidget *w, const QString &file)
{
    QTest::qWait(300);
    if (!w->grab().save(file))
        return false;
    qInfo("%s", qPrintable(file));
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(outDir);

    MainWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window) || !save(&window, outDir + "/print-button.png"))
        return 1;

    paramSet.subTrim[1] = -12;
    paramSet.drRate[1][0] = 70;
    paramSet.drExpo[1][0] = 30;
    paramSet.throttleCurve[3] = 40;
    paramSet.progMix[0].mode = 2;
    paramSet.txVersion = 512;
    QTest::mouseClick(window.form()->pushButton_Print, Qt::LeftButton);
    auto *dialog = window.findChild<QPrintPreviewDialog *>();
    if (!dialog || !QTest::qWaitForWindowExposed(dialog))
        return 1;
    dialog->resize(1000, 760);
    return save(dialog, outDir + "/print-preview.png") ? 0 : 1;
}
