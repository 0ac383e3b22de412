#pragma once

#include "ui_kqform1.h"

#include "analysis/calculation.h"

#include <QElapsedTimer>
#include <QWidget>

namespace tarvel {
class TarvelError;
}

// The calculator window, the program's main one (the design window opens from it): inputs,
// results, the figure, the progress bar, and the hidden check panel beyond the right edge.
class Kqform1 : public QWidget {
    Q_OBJECT
  public:
    explicit Kqform1(QWidget* parent = nullptr);

    // The one font of the window: ideographs 12 pixels wide, ASCII 6.
    static QFont windowFont();

    // Puts the five texts into the input boxes; the results stay until the next Calculate.
    void setInputs(const tarvel::InputTexts& texts);

  signals:
    // The end of each Calculate, for windows that follow this one. `refused` and `failed`
    // come before the modal box, so that a follower is current while the box is up.
    void calculated(const tarvel::InputTexts& inputs, const tarvel::BaseResult& result);
    void refused(const tarvel::InputTexts& inputs);
    void failed(const tarvel::InputTexts& inputs, const QString& message);

  public slots:
    void calculate();
    void exitProgram();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void showFailure(const tarvel::TarvelError& error);
    void onTrial(float sigma);

    Ui::kqform1 form_;
    bool running_ = false;
    bool exitRequested_ = false;
    QElapsedTimer sinceEvents_;
};
