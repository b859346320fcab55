#include "app/mainwindow.h"

#include "ui/mainform.h"

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
    // serialPort closes itself when destroyed after this, without "DIS":
    // only the pilot's explicit close tells the transmitter we leave.
    delete ui;
}
