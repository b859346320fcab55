// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "files/paramfile.h"
#include "models/library.h"
#include "models/modelsdialog.h"

#include <QAbstractButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

// MODELS over a library of 10,000 models: filling the list again, as when
// the folder changed or a model was saved. Counting the Differs column again
// when the editor changes (a trim moved) is the last part of it.
class BenchModels : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void refill();

private:
    QTemporaryDir folder;
};

void BenchModels::initTestCase()
{
    const QByteArray file = parameterFileFor(kStartParameters);
    for (int i = 0; i < 10000; ++i) {
        QFile model(folder.filePath(QStringLiteral("Model %1.txt").arg(i)));
        QVERIFY(model.open(QIODevice::WriteOnly) && model.write(file) == file.size());
    }
}

void BenchModels::refill()
{
    ModelLibrary library(folder.path());
    const ParameterSet editor = kStartParameters;
    const auto none = [](const ModelEntry &) {};
    ModelsDialog dialog(
        library, editor, [](const ModelEntry &) { return QString(); },
        [](const ModelEntry &, QAbstractButton *) { return QString(); }, none);
    dialog.show();
    QCOMPARE(dialog.table()->rowCount(), 10000);
    QBENCHMARK
    {
        emit library.libraryChanged();
    }
}

QTEST_MAIN(BenchModels)
#include "bench_models.moc"
