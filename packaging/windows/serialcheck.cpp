// Drives the Windows tool over a real COM port the way a pilot would:
// OPEN, READ, one edit, WRITE, CLOSE. packaging/windows/serial-check runs it
// under Wine against the transmitter emulator and compares what the emulator
// stored with what the tool sent.
//   vegalyra-serialcheck PORT MODEL_FILE SENT_FILE
// MODEL_FILE is the parameter file the emulator started from; SENT_FILE gets
// the four frames the tool's WRITE put on the wire.
#include "app/mainwindow.h"
#include "files/paramfile.h"
#include "model/parameterset.h"
#include "ui/mainform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <algorithm>
#include <cstdio>

namespace {

int fail(const QString &why)
{
    std::fprintf(stderr, "serial check: %s\n", qPrintable(why));
    return 1;
}

void say(const QString &what)
{
    std::printf("serial check: %s\n", qPrintable(what));
    std::fflush(stdout);
}

// The settings a READ carries that a pilot would notice first.
bool sameServoPage(const ParameterSet &a, const ParameterSet &b)
{
    return std::equal(a.reverse, a.reverse + 8, b.reverse) &&
           std::equal(a.subTrim, a.subTrim + 8, b.subTrim) &&
           std::equal(a.endPointLeft, a.endPointLeft + 8, b.endPointLeft) &&
           std::equal(a.endPointRight, a.endPointRight + 8, b.endPointRight);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4)
        return fail(QStringLiteral("usage: vegalyra-serialcheck PORT MODEL_FILE SENT_FILE"));
    const QString port = args[1];

    QFile modelFile(args[2]);
    if (!modelFile.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1").arg(args[2]));
    ParameterSet model = paramSet;
    if (decodeParameterFile(readParameterFileText(modelFile), model).count() != 4)
        return fail(QStringLiteral("%1 is not a whole parameter file").arg(args[2]));
    if (sameServoPage(model, paramSet))
        return fail(QStringLiteral("the model's SERVO page equals the start values; READ would prove nothing"));

    MainWindow window;
    MainForm *ui = window.form();
    ui->portNameBox->addItem(port);
    ui->portNameBox->setCurrentText(port);
    ui->openButton->click();
    if (ui->openButton->text() != QLatin1String("CLOSE"))
        return fail(QStringLiteral("OPEN %1 failed").arg(port));
    say(QStringLiteral("OPEN %1").arg(port));

    QElapsedTimer clock;
    clock.start();
    window.findChild<QAbstractButton *>(QStringLiteral("toolButton_Read"))->click();
    if (!QTest::qWaitFor([&] { return sameServoPage(paramSet, model); }, 10000))
        return fail(QStringLiteral("READ brought nothing from the transmitter in 10 s"));
    say(QStringLiteral("READ: the SERVO page matches the transmitter's after %1 ms")
            .arg(clock.elapsed()));

    QSpinBox *subTrim3 = ui->spinBox_sub[2];
    const int edited = subTrim3->value() == 42 ? 41 : 42;
    subTrim3->setValue(edited);
    if (paramSet.subTrim[2] != edited)
        return fail(QStringLiteral("the sub-trim edit did not reach the record"));
    clock.restart();
    window.findChild<QAbstractButton *>(QStringLiteral("toolButton_Send"))->click();
    say(QStringLiteral("WRITE with sub-trim 3 at %1 took %2 ms").arg(edited).arg(clock.elapsed()));

    QFile sent(args[3]);
    if (!sent.open(QIODevice::WriteOnly) || sent.write(parameterFileBytes()) != kParameterFileLength)
        return fail(QStringLiteral("cannot write %1").arg(args[3]));
    sent.close();

    ui->openButton->click();
    if (ui->openButton->text() != QLatin1String("OPEN"))
        return fail(QStringLiteral("CLOSE failed"));
    say(QStringLiteral("CLOSE"));
    return 0;
}
