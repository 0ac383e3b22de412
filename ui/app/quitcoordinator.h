#pragma once

#include <QObject>

class DesignWindow;
class QWidget;

// Ending the program: the form's 退  出 or close button, or the application quitting (a
// session ending). Unsaved project changes are asked about once; after 保存 or 不保存 every
// window closes without asking again and the program ends, after 取消 nothing closes.
// Closing the design window alone only hides it (it asks on its own).
class QuitCoordinator : public QObject {
    Q_OBJECT
  public:
    QuitCoordinator(QWidget* form, DesignWindow* window, QObject* parent);

    // True once the user agreed to end the program.
    bool quitting() const { return quitting_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool agreeToQuit();

    QWidget* form_;
    DesignWindow* window_;
    bool quitting_ = false;
};
