#include "views/curvewidgets.h"

// The charts are blank white panels for now; their drawing depends on
// these exact sizes, so the sizes are fixed here rather than in the form.

namespace {
void makeWhitePanel(QWidget *w, int side)
{
    w->setFixedSize(side, side);
    w->setAutoFillBackground(true);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, Qt::white);
    w->setPalette(pal);
}
} // namespace

mWidget::mWidget(QWidget *parent) : QWidget(parent)
{
    makeWhitePanel(this, 280);
}

cureWidget::cureWidget(QWidget *parent) : QWidget(parent)
{
    makeWhitePanel(this, 300);
}
