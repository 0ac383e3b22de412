#include "app/designlauncher.h"

#include "app/quitcoordinator.h"
#include "design/designwindow.h"
#include "form/kqform1.h"
#include "project/projectcontroller.h"
#include "report/reportactions.h"

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>

#include <algorithm>

namespace {
// px between the form and the design window when it first opens beside it.
constexpr int windowGap = 8;
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

DesignLauncher::~DesignLauncher() = default;

void DesignLauncher::openDesignWindow() {
    if (!placed_) {
        placed_ = true;
        placeBesideForm();
    }
    window_->show();
    window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
    window_->raise();
    window_->activateWindow();
}

// On the form's screen, beside the form where there is room, and never beyond the edges of
// the screen's free area: a window larger than it is made smaller.
void DesignLauncher::placeBesideForm() {
    QScreen* screen = form_->screen();
    window_->setScreen(screen);
    const QRect area = screen->availableGeometry();
    // The form's frame stands for the window's, which is not known before it is shown.
    const QRect formFrame = form_->frameGeometry(), formInside = form_->geometry();
    const QSize frame = formFrame.size() - formInside.size();
    window_->resize(window_->size().boundedTo(area.size() - frame));
    const QSize outer = window_->size() + frame;
    QPoint at = formFrame.topRight() + QPoint(windowGap, 0);
    at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - outer.width())));
    at.setY(std::max(area.top(), std::min(at.y(), area.bottom() + 1 - outer.height())));
    window_->move(at);
}

bool DesignLauncher::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ContextMenu) {
        menu_->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    return QObject::eventFilter(watched, event);
}
