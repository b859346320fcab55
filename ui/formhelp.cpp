// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/formhelp.h"

#include "settings/catalogue.h"
#include "settings/help.h"
#include "ui/mainform.h"

#include <QAbstractSpinBox>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QToolTip>
#include <QWhatsThis>

namespace {

void describeBars(MainForm &form)
{
    for (int ch = 0; ch < 8; ++ch) {
        form.gaugeUpper[ch]->setAccessibleName(QStringLiteral("CH%1 bar above centre").arg(ch + 1));
        form.gaugeLower[ch]->setAccessibleName(QStringLiteral("CH%1 bar below centre").arg(ch + 1));
        for (QProgressBar *bar : {form.gaugeUpper[ch], form.gaugeLower[ch]})
            bar->setAccessibleDescription(
                QStringLiteral("CH%1's output from centre, as the transmitter last reported it.")
                    .arg(ch + 1));
    }
}

void describeStatusLine(MainForm &form)
{
    // The labels keep their texts as names, so a screen reader reads what
    // the pilot sees; the description says which part it is.
    form.statusActivity->setAccessibleDescription(
        QStringLiteral("Status: what the tool is doing or how the last action ended"));
    form.statusProgress->setAccessibleName(QStringLiteral("Progress of the transfer"));
    form.statusChanges->setAccessibleDescription(
        QStringLiteral("Status: whether the settings differ from the transmitter or file"));
    form.statusModel->setAccessibleDescription(
        QStringLiteral("Status: the model the transmitter holds"));
    form.statusConnection->setAccessibleDescription(
        QStringLiteral("Status: the connection to the transmitter"));
}

// Tab reaches the tabs, then the buttons in their corner, then the page
// shown, in reading order. Captions are read-only words beside the settings:
// a click still reaches them, Tab does not.
void chainTabs(MainForm &form, QMainWindow *window)
{
    for (QLineEdit *edit : window->findChildren<QLineEdit *>()) {
        if (edit->isReadOnly())
            edit->setFocusPolicy(Qt::ClickFocus);
    }
    QWidget *previous = form.tabWidget->tabBar();
    for (QWidget *corner : std::initializer_list<QWidget *>{
             form.pushButton_Compare, form.pushButton_Undo, form.pushButton_Redo,
             form.pushButton_History, form.pushButton_Models, form.pushButton_Print}) {
        QWidget::setTabOrder(previous, corner);
        previous = corner;
    }
    for (const PageWidget &w : pageWidgets()) {
        if (!w.page)
            continue;
        auto *widget = window->findChild<QWidget *>(QString::fromLatin1(w.objectName));
        if (!widget || !(widget->focusPolicy() & Qt::TabFocus))
            continue;
        QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

} // namespace

namespace {

// What a readout or chart is to a screen reader. A readout is a read-only
// line of text that changes ten times a second; read as text, a screen
// reader says "null" for no RSSI and "left paren 0 right paren" for a trim
// at centre. It is spoken as a label instead: its name and its value in
// words, "RSSI signal strength: no signal", "Trim 1 position: 0".
const char *const kSpokenAs = "vegalyraSpokenAs";
enum SpokenAs { Readout = 1, Chart = 2 };

QString spokenReadout(const QString &shown)
{
    QString value = shown.trimmed();
    if (value == QLatin1String("null"))
        return QStringLiteral("no signal");
    if (value.startsWith(QLatin1Char('(')) && value.endsWith(QLatin1Char(')')))
        value = value.mid(1, value.size() - 2);
    return value;
}

class SpokenWidget : public QAccessibleWidget
{
public:
    SpokenWidget(QWidget *widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}
    QString text(QAccessible::Text t) const override
    {
        auto *edit = qobject_cast<QLineEdit *>(widget());
        if (!edit || (t != QAccessible::Name && t != QAccessible::Value))
            return QAccessibleWidget::text(t);
        const QString value = spokenReadout(edit->text());
        return t == QAccessible::Value ? value
                                       : edit->accessibleName() + QStringLiteral(": ") + value;
    }
};

QAccessibleInterface *spokenWidgets(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    const int as = widget ? widget->property(kSpokenAs).toInt() : 0;
    if (as == Readout)
        return new SpokenWidget(widget, QAccessible::StaticText);
    if (as == Chart)
        return new SpokenWidget(widget, QAccessible::Chart);
    return nullptr;
}

void speakAs(QWidget *widget, SpokenAs as)
{
    static const bool installed = [] {
        QAccessible::installFactory(spokenWidgets);
        return true;
    }();
    Q_UNUSED(installed)
    widget->setProperty(kSpokenAs, as);
    // With a screen reader listening, Qt made the widget's interface as
    // soon as the form set its text; it would stay in use.
    QAccessibleInterface *made = QAccessible::queryAccessibleInterface(widget);
    if (made && !dynamic_cast<SpokenWidget *>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

// On Linux a combo box tells screen readers its current item as its name;
// they name it by the label that says it is its buddy. That label stays
// hidden and takes no room: the page shows the caption it always showed.
void labelForScreenReaders(QComboBox *box)
{
    auto *label = new QLabel(box->accessibleName(), box->parentWidget());
    label->setObjectName(box->objectName() + QStringLiteral("_name"));
    label->setBuddy(box);
    label->setGeometry(QRect(box->pos(), QSize()));
    label->hide();
}

} // namespace

namespace {

// The ring of `top`, made on first need; `mainRing` is the main window's.
// Popups (a combo box's list) and tooltips get none: they close again.
FocusRing *ringOf(QWidget *top, FocusRing *mainRing)
{
    if (!top || top->windowType() == Qt::Popup || top->windowType() == Qt::ToolTip)
        return nullptr;
    if (mainRing && top == mainRing->window())
        return mainRing;
    // Only a FocusRing has that name.
    auto *ring = static_cast<FocusRing *>(top->findChild<QWidget *>(QStringLiteral("focusRing")));
    if (!ring && mainRing)
        ring = new FocusRing(top);
    return ring;
}

} // namespace

void addFormHelp(MainForm &form, QMainWindow *window)
{
    for (const PageWidget &w : pageWidgets()) {
        auto *widget = window->findChild<QWidget *>(QString::fromLatin1(w.objectName));
        if (!widget)
            continue;
        const QString tip = widgetToolTip(w);
        widget->setToolTip(tip);
        widget->setWhatsThis(tip);
        widget->setAccessibleName(widgetAccessibleName(w));
        QStringList help = widgetHelpText(w).split(QLatin1Char('\n'));
        help.removeFirst();
        widget->setAccessibleDescription(help.join(QLatin1Char(' ')));
        if (auto *box = qobject_cast<QComboBox *>(widget))
            labelForScreenReaders(box);
        if (!w.row && qobject_cast<QLineEdit *>(widget))
            speakAs(widget, Readout);
        else if (!w.row && !qobject_cast<QPushButton *>(widget) &&
                 !qobject_cast<QComboBox *>(widget) && !qobject_cast<QAbstractSpinBox *>(widget))
            speakAs(widget, Chart);
    }
    describeBars(form);
    describeStatusLine(form);
    form.toolButton_led->setAccessibleName(QStringLiteral("Connection light"));
    form.portNameBox->setAccessibleName(QStringLiteral("Serial port"));
    labelForScreenReaders(form.portNameBox);
    chainTabs(form, window);

    // Shift+F1 explains the focused widget where it stands; where it has no
    // text, the pointer picks what to explain.
    auto *whatsThis = new QAction(window);
    whatsThis->setShortcut(QKeySequence::WhatsThis);
    whatsThis->setShortcutContext(Qt::WindowShortcut);
    window->addAction(whatsThis);
    QObject::connect(whatsThis, &QAction::triggered, window, [] {
        QWidget *focused = QApplication::focusWidget();
        if (focused && !focused->whatsThis().isEmpty())
            QWhatsThis::showText(focused->mapToGlobal(QPoint(0, focused->height())),
                                 focused->whatsThis(), focused);
        else
            QWhatsThis::enterWhatsThisMode();
    });

    // A tooltip shown for a widget of the window takes the window's dark
    // background from its style sheet, but its text kept the palette's
    // black: the pilot could not read it. Light text on the same dark
    // grey, for every tooltip and "What's This?" of the program.
    QPalette tips = QToolTip::palette();
    for (QPalette::ColorRole role : {QPalette::ToolTipBase, QPalette::Window})
        tips.setColor(role, QColor(40, 40, 40));
    for (QPalette::ColorRole role : {QPalette::ToolTipText, QPalette::WindowText, QPalette::Text})
        tips.setColor(role, Qt::white);
    QToolTip::setPalette(tips);

    // Every window of the program shows its focus the same way: the main
    // window, and the dialogs (MODELS, COMPARE, HISTORY, LIVE, the file
    // and message boxes) whose style sheets draw no focus of their own.
    auto *ring = new FocusRing(window);
    QObject::connect(qApp, &QApplication::focusChanged, ring, [ring](QWidget *old, QWidget *now) {
        if (old && (!now || old->window() != now->window())) {
            if (FocusRing *left = ringOf(old->window(), nullptr))
                left->hide();
        }
        if (FocusRing *home = ringOf(now ? now->window() : nullptr, ring))
            home->follow(now);
    });
    QObject::connect(form.tabWidget, &QTabWidget::currentChanged, ring,
                     [ring] { ring->follow(QApplication::focusWidget()); });
}

FocusRing::FocusRing(QWidget *window) : QWidget(window)
{
    setObjectName(QStringLiteral("focusRing"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void FocusRing::follow(QWidget *focused)
{
    QWidget *home = focused ? focused->parentWidget() : nullptr;
    if (!home || focused->window() != window() || focused == this) {
        // Back to the window while it waits: the widget it stood in may
        // go, and would take the ring with it.
        if (parentWidget() != window())
            setParent(window());
        hide();
        return;
    }
    QRect around = focused->geometry();
    if (auto *bar = qobject_cast<QTabBar *>(focused))
        around = bar->tabRect(bar->currentIndex()).translated(bar->pos());
    const int out = kWidth + kGap;
    around.adjust(-out, -out, out, out);
    // Only the ring itself covers anything: inside and outside stay the
    // widgets' own pixels. Where a neighbour stands closer than the ring is
    // wide (the corner buttons' two rows), the ring gives way to it; what
    // lies under the focused widget (a page's background) does not count.
    // A ring that would stick out of the widget's parent (a corner button at
    // its edge) stands in the parent's parent instead, so no side is cut.
    QRegion band =
        QRegion(0, 0, around.width(), around.height()) -
        QRegion(QRect(QPoint(), around.size()).adjusted(kWidth, kWidth, -kWidth, -kWidth));
    QWidget *host = home;
    QWidget *inHost = focused; // the child of `host` that holds the focused widget
    QRect widgetInHost = focused->geometry();
    for (;;) {
        for (QWidget *neighbour :
             host->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
            if (neighbour != this && neighbour != inHost && !neighbour->isHidden() &&
                !neighbour->geometry().intersects(widgetInHost))
                band -= QRegion(neighbour->geometry().translated(-around.topLeft()));
        }
        if (host->rect().contains(around) || host == window() || !host->parentWidget())
            break;
        around.translate(host->pos());
        widgetInHost.translate(host->pos());
        inHost = host;
        host = host->parentWidget();
    }
    if (parentWidget() != host)
        setParent(host);
    setGeometry(around);
    setMask(band);
    raise();
    show();
}

void FocusRing::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), colour());
}
