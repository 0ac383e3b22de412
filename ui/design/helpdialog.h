#pragma once

#include <QDialog>

// 使用说明 of the design window's 帮助 menu: how to reach each window, the shortcuts, what
// each method and check means, and where the settings are kept.
class HelpDialog : public QDialog {
    Q_OBJECT
  public:
    explicit HelpDialog(QWidget* parent = nullptr);

    // The text shown, as HTML.
    static QString helpHtml();
};
