#include "ui/mainform.h"

#include "ui/portnamebox.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QMetaObject>
#include <QTabWidget>

// Placeholder form: only the widgets the window's constructor needs.
void MainForm::setupUi(QMainWindow *window)
{
    window->resize(1100, 680);
    centralwidget = new QWidget(window);
    centralwidget->setObjectName(QStringLiteral("centralwidget"));
    portNameBox = new PortNameBox(centralwidget);
    portNameBox->setObjectName(QStringLiteral("portNameBox"));
    tabWidget = new QTabWidget(centralwidget);
    tabWidget->setObjectName(QStringLiteral("tabWidget"));
    window->setCentralWidget(centralwidget);
    retranslateUi(window);
    QMetaObject::connectSlotsByName(window);
}

void MainForm::retranslateUi(QMainWindow *window)
{
    window->setWindowTitle(QCoreApplication::translate("MainWindow", "VEGA&LYRA-V5.1"));
}
