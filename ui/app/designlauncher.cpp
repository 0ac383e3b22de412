#include "app/designlauncher.h"

#include "app/quitcoordinator.h"
#include "app/windowplacement.h"
#include "design/designwindow.h"
#include "form/kqform1.h"
#include "project/projectcontroller.h"
#include "report/reportactions.h"
#include "settingsstore.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QWindow>

namespace {
// px between the form and the design window when it first opens beside it.
constexpr int windowGap = 8;
// Where the design window's frame was when it was last hidden.
const char* const frameKey = "designWindow/frame";
} // namespace

DesignLauncher::DesignLauncher(Kqform1* form)
    : QObject(form), form_(form), window_(std::make_unique<DesignWindow>()),
      menu_(std::make_unique<QMenu>()) {
    // Closing the form still ends the program while the design window is open.
    window_->setAttribute(Qt::WA_QuitOnClose, false);
    new QuitCoordinator(form, window_.get(), this);
    menu_->setFont(Kqform1::windowFont());

    designAction_ = menu_->addAction("设计验算…");
    designAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    designAction_->setShortcutContext(Qt::WindowShortcut);
    // Added to the form for its shortcut only; the form shows no menu of its own.
    form->addAction(designAction_);
    connect(designAction_, &QAction::triggered, this, &DesignLauncher::openDesignWindow);
    // The form's report is that of its last calculation, whatever the design window shows.
    DesignWindow* window = window_.get();
    formReports_ = new ReportActions(form, [window] { return window->caseReport(); });
    menu_->addAction(formReports_->exportAction());
    menu_->addAction(formReports_->infoAction());
    formReports_->setProjectLink(window->projects()->reportLink());
    // Its shortcut belongs to the design window.
    formReports_->exportAction()->setShortcut({});

    // The figure passes an unhandled right-click on to the form; both are watched so that
    // the menu does not depend on that.
    form->installEventFilter(this);
    form->findChild<QWidget*>("Picture1")->installEventFilter(this);
    // Its place is remembered whenever it is hidden, and when the program ends with it open.
    window_->installEventFilter(this);

    connect(form, &Kqform1::calculated, window_.get(), &DesignWindow::showCalculation);
    connect(form, &Kqform1::refused, window_.get(), &DesignWindow::showRefusal);
    connect(form, &Kqform1::failed, window_.get(), &DesignWindow::showFailure);
    // A project's base is the form's: P and M stay as typed until the next Calculate.
    connect(window_.get(), &DesignWindow::baseChosen, form,
            [form](const QString& d, const QString& D, const QString& n) {
                const auto box = [form](const char* name) {
                    return form->findChild<QLineEdit*>(name)->text().toStdString();
                };
                form->setInputs(
                    {box("pt"), box("mt"), d.toStdString(), D.toStdString(), n.toStdString()});
            });
    // A load combination chosen in the design window is calculated in full in the form.
    connect(window_.get(), &DesignWindow::caseChosen, form, [form](const tarvel::InputTexts& in) {
        form->setInputs(in);
        form->raise();
        form->activateWindow();
        form->calculate();
        // Keys typed next must not land in a result box: the figure takes the focus, as when
        // the form opens, unless a failed input box was just given it.
        QWidget* focus = form->focusWidget();
        const QString name = focus ? focus->objectName() : QString();
        if (!QStringList{"pt", "mt", "d1t", "d2t", "nt"}.contains(name))
            form->findChild<QWidget*>("Picture1")->setFocus();
    });
}

DesignLauncher::~DesignLauncher() {
    if (window_->isVisible()) rememberPlace();
}

void DesignLauncher::openDesignWindow() {
    const bool hidden = !window_->isVisible();
    if (hidden) place();
    window_->show();
    window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
    window_->raise();
    window_->activateWindow();
    // Its frame is known once the window manager has framed it: it is fitted again then.
    if (QWindow* handle = window_->windowHandle(); hidden && handle && !fitting_) {
        fitting_ = true;
        handle->installEventFilter(this);
    }
}

QMargins DesignLauncher::frameMargins() const {
    // Once shown the window has its own frame; before, the form's stands for it.
    const QWidget* framed =
        window_->windowHandle() && window_->frameGeometry() != window_->geometry()
            ? static_cast<const QWidget*>(window_.get())
            : form_;
    const QRect outer = framed->frameGeometry(), inner = framed->geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

// On the screen where it was last (remembered between runs) or at first beside the form, and
// never beyond the edges of the screen's free area: a window larger than it is made smaller.
void DesignLauncher::place() {
    const QMargins margins = frameMargins();
    QScreen* screen = form_->screen();
    QRect frame;
    if (!placed_) {
        placed_ = true;
        const QRect saved = QSettings(tarvel::settingsOrganisation, tarvel::settingsApplication)
                                .value(frameKey)
                                .toRect();
        if (saved.isValid()) {
            frame = saved;
            if (QScreen* at = QGuiApplication::screenAt(saved.center())) screen = at;
        } else {
            const QSize size = window_->size().expandedTo(window_->minimumSizeHint());
            frame = QRect(form_->frameGeometry().topRight() + QPoint(windowGap, 0),
                          size.grownBy(margins));
        }
    } else {
        frame = window_->geometry().marginsAdded(margins);
        screen = window_->screen();
    }
    window_->setScreen(screen);
    fit(frame, margins);
}

void DesignLauncher::fit(const QRect& frame, const QMargins& margins) {
    const QRect area = window_->screen()->availableGeometry();
    const QSize minimum = window_->minimumSizeHint().expandedTo(window_->minimumSize());
    const QRect fitted = windowplacement::fitFrame(frame, area, minimum.grownBy(margins));
    window_->setGeometry(fitted.marginsRemoved(margins));
}

void DesignLauncher::rememberPlace() {
    QSettings(tarvel::settingsOrganisation, tarvel::settingsApplication)
        .setValue(frameKey, window_->geometry().marginsAdded(frameMargins()));
}

bool DesignLauncher::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_->windowHandle() && event->type() == QEvent::Expose && fitting_ &&
        window_->windowHandle()->isExposed()) {
        fitting_ = false;
        watched->removeEventFilter(this);
        const QMargins margins = frameMargins();
        fit(window_->geometry().marginsAdded(margins), margins);
        return false;
    }
    if (watched == window_.get() && event->type() == QEvent::Hide) rememberPlace();
    if (event->type() == QEvent::ContextMenu && watched != window_.get()) {
        menu_->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    return QObject::eventFilter(watched, event);
}
