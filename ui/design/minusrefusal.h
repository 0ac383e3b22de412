#pragma once

#include <QObject>

class QWidget;

// A minus typed into a spin box that takes no negative value is refused with a word beside
// the box (its caption and range), where the box's validator alone would drop it unseen.
class MinusRefusal : public QObject {
    Q_OBJECT
  public:
    // Watches every spin box under `root` whose minimum is not below 0.
    explicit MinusRefusal(QWidget* root);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
