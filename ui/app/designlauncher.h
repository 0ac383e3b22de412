#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>

#include <memory>

class DesignWindow;
class Kqform1;
class QAction;
class QMenu;
class ReportActions;

// Attaches the design window to a Kqform1 from outside: a context menu on the form's
// background and figure, and Ctrl+D, both open (or raise) the one design window, which
// follows every Calculate of the form from the start. Owned by the form.
class DesignLauncher : public QObject {
    Q_OBJECT
  public:
    explicit DesignLauncher(Kqform1* form);
    ~DesignLauncher() override;

    // The form's context menu; later entries (导出计算书…) are added after 设计验算….
    QMenu* contextMenu() const { return menu_.get(); }
    QAction* designAction() const { return designAction_; }
    DesignWindow* designWindow() const { return window_.get(); }
    // 导出计算书… and 计算书信息… of the form's context menu: the last calculation.
    ReportActions* formReports() const { return formReports_; }

  public slots:
    void openDesignWindow();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Puts the window, before it is shown, inside the free area of its screen.
    void place();
    // The frame moved and shrunk into the screen's free area.
    void fit(const QRect& frame, const QMargins& margins);
    // The window's frame around its inside; before it is first shown, the form's.
    QMargins frameMargins() const;
    void rememberPlace();

    Kqform1* form_;
    std::unique_ptr<DesignWindow> window_;
    std::unique_ptr<QMenu> menu_;
    QAction* designAction_;
    ReportActions* formReports_;
    bool placed_ = false;
    bool fitting_ = false; // waiting for the window to be shown, framed
};
