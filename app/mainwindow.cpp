#include "app/mainwindow.h"

#include "ui/mainform.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QTabWidget>
#include <QTimer>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), ui(new MainForm), refreshTimer(nullptr)
{
    ui->setupUi(this); // also connects the on_<object>_<signal> slots by name
    setUpPortHandling();
    fillPortList();
    ui->tabWidget->setCurrentIndex(0); // the form selects ADVANCE1; open on SERVO

    refreshTimer = new QTimer(this);
    refreshTimer->start(100);
    connect(refreshTimer, &QTimer::timeout, this, &MainWindow::ui_Display);
}

MainWindow::~MainWindow()
{
    releasePort(); // before the form goes: the port's reports must not reach it
    delete ui;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Leaving ends every wait at once and throws the queued frames away, so
    // a transfer still under way would stop halfway. The pilot decides; the
    // default keeps the window and lets the transfer finish.
    if (link.isSending() &&
        QMessageBox::question(nullptr, QStringLiteral("Note"),
                              QStringLiteral("Settings are still being sent to the transmitter.\n"
                                             "Close anyway and leave the transfer unfinished?"),
                              QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) != QMessageBox::Yes) {
        event->ignore();
        return;
    }
    // Whatever is still running winds down without writing any more.
    leaving = true;
    link.connectionEnded();
    QMainWindow::closeEvent(event);
}
