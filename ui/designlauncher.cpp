#include "designlauncher.h"

#include "designreports.h"
#include "designwindow.h"
#include "kqform1.h"

#include <QContextMenuEvent>
#include <QMenu>

namespace {
// px between the form and the design window when it first opens beside it.
constexpr int windowGap = 8;
} // namespace

DesignLauncher::DesignLauncher(Kqform1* form)
    : QObject(form), form_(form), window_(std::make_unique<DesignWindow>()),
      menu_(std::make_unique<QMenu>()) {
    // Closing the form still ends the program while the design window is open.
    window_->setAttribute(Qt::WA_QuitOnClose, false);
    menu_->setFont(Kqform1::windowFont());

    designAction_ = menu_->addAction("设计验算…");
    designAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    designAction_->setShortcutContext(Qt::WindowShortcut);
    // Added to the form for its shortcut only; the form shows no menu of its own.
    form->addAction(designAction_);
    connect(designAction_, &QAction::triggered, this, &DesignLauncher::openDesignWindow);
    // The form's report is that of its last calculation, whatever the design window shows.
    DesignWindow* window = window_.get();
    formReports_ = new ReportActions(form, [window] { return designreports::caseReport(*window); });
    menu_->addAction(formReports_->exportAction());
    menu_->addAction(formReports_->infoAction());
    // Its shortcut belongs to the design window.
    formReports_->exportAction()->setShortcut({});

    // The figure passes an unhandled right-click on to the form; both are watched so that
    // the menu does not depend on that.
    form->installEventFilter(this);
    form->findChild<QWidget*>("Picture1")->installEventFilter(this);

    connect(form, &Kqform1::calculated, window_.get(), &DesignWindow::showCalculation);
    connect(form, &Kqform1::refused, window_.get(), &DesignWindow::showRefusal);
    connect(form, &Kqform1::failed, window_.get(), &DesignWindow::showFailure);
    // A load combination chosen in the design window is calculated in full in the form.
    connect(window_.get(), &DesignWindow::caseChosen, form, [form](const tarvel::InputTexts& in) {
        form->setInputs(in);
        form->raise();
        form->activateWindow();
        form->calculate();
    });
}

DesignLauncher::~DesignLauncher() = default;

void DesignLauncher::openDesignWindow() {
    if (!placed_) {
        placed_ = true;
        window_->move(form_->frameGeometry().topRight() + QPoint(windowGap, 0));
    }
    window_->show();
    window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
    window_->raise();
    window_->activateWindow();
}

bool DesignLauncher::eventFilter(QObject* watched, QEvent* event) {
    // Closing the form ends the program: unsaved project changes are asked about first.
    if (watched == form_ && event->type() == QEvent::Close && !window_->maybeSave()) {
        event->ignore();
        return true;
    }
    if (event->type() == QEvent::ContextMenu) {
        menu_->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    return QObject::eventFilter(watched, event);
}
