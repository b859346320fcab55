// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Saves pictures of the settings tools for looking at them: the window with
// the buttons beside the tabs, COMPARE with only the differences and with
// every setting, HISTORY with a few entries, and PRINT's preview of a model
// with settings of its own: tool_dialogshots [outdir]
#include "app/mainwindow.h"
#include "files/paramfile.h"
#include "history/history.h"
#include "models/library.h"
#include "models/modelsdialog.h"
#include "ui/mainform.h"
#include "views/comparedialog.h"
#include "views/historydialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QTemporaryDir>
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

    // A history and a model library of its own.
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    MainWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window) || !save(&window, outDir + "/compare-button.png"))
        return 1;

    QTest::mouseClick(window.form()->pushButton_Compare, Qt::LeftButton);
    auto *dialog = window.findChild<CompareDialog *>();
    if (!dialog || !QTest::qWaitForWindowExposed(dialog))
        return 1;
    if (!save(dialog, outDir + "/compare-empty.png"))
        return 1;
    ParameterSet field = paramSet;
    field.reverse[2] = 0;
    field.subTrim[1] = -12;
    field.progMix[1].mode = 2;
    field.txAlarmVolt = 7.2;
    dialog->compareWith({QStringLiteral("glider-field.txt"), field, QString()});
    if (!save(dialog, outDir + "/compare-differences.png"))
        return 1;
    dialog->findChild<QCheckBox *>(QStringLiteral("compareShowAll"))->setChecked(true);
    if (!save(dialog, outDir + "/compare-all.png"))
        return 1;
    dialog->close();

    // A history of its own: a READ, a WRITE with two changes, a RESET.
    const QDateTime start = QDateTime::currentDateTime().addDays(-1);
    addHistoryEntry(historyFolder(), HistoryEvent::Read, parameterFileFor(paramSet), start);
    addHistoryEntry(historyFolder(), HistoryEvent::Write, parameterFileFor(field),
                    start.addSecs(600));
    ParameterSet factory = kStartParameters;
    restFactoryA(factory);
    restFactoryB(factory);
    addHistoryEntry(historyFolder(), HistoryEvent::Reset, parameterFileFor(factory),
                    start.addSecs(7200));
    QTest::mouseClick(window.form()->pushButton_History, Qt::LeftButton);
    auto *history = window.findChild<HistoryDialog *>();
    if (!history || !QTest::qWaitForWindowExposed(history) ||
        !save(history, outDir + "/history.png"))
        return 1;
    history->close();

    // MODELS, empty and with two models of one name beside others.
    QTest::mouseClick(window.form()->pushButton_Models, Qt::LeftButton);
    auto *models = window.findChild<ModelsDialog *>();
    if (!models || !QTest::qWaitForWindowExposed(models) ||
        !save(models, outDir + "/models-empty.png"))
        return 1;
    saveModelFile(modelsFolder(), QStringLiteral("Cub 1.2 m"), parameterFileFor(paramSet));
    saveModelFile(modelsFolder(), QStringLiteral("Glider"), parameterFileFor(field));
    QFile copied(modelsFolder() + QStringLiteral("/cub 1.2 m.dat"));
    if (copied.open(QIODevice::WriteOnly))
        copied.write(parameterFileFor(factory));
    copied.close();
    models->close();
    QTest::qWait(50);
    QTest::mouseClick(window.form()->pushButton_Models, Qt::LeftButton);
    models = window.findChild<ModelsDialog *>();
    if (!models || !QTest::qWaitForWindowExposed(models) || !save(models, outDir + "/models.png"))
        return 1;
    models->close();

    paramSet.subTrim[1] = -12;
    paramSet.drRate[1][0] = 70;
    paramSet.drExpo[1][0] = 30;
    paramSet.throttleCurve[3] = 40;
    paramSet.progMix[0].mode = 2;
    paramSet.txVersion = 512;
    QTest::mouseClick(window.form()->pushButton_Print, Qt::LeftButton);
    auto *preview = window.findChild<QPrintPreviewDialog *>();
    if (!preview || !QTest::qWaitForWindowExposed(preview))
        return 1;
    preview->resize(1000, 760);
    return save(preview, outDir + "/print-preview.png") ? 0 : 1;
}
