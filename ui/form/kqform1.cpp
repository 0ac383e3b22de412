#include "form/kqform1.h"

#include "analysis/calculation.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>

namespace {

// Thrown from the progress callback when the user ends the program mid-calculation.
struct ExitRequested {};

// Writes the results into the window's boxes and reads them back from there.
class BoxSink : public tarvel::ResultSink {
  public:
    BoxSink(Ui::kqform1& form) : form_(form) {}

    void write(tarvel::ResultBox box, const std::string& text) override {
        edit(box)->setText(QString::fromStdString(text));
    }
    std::string read(tarvel::ResultBox box) const override {
        return edit(box)->text().toStdString();
    }
    // The bar is hidden before the shear capacity is written.
    void beforeShearCapacity() override { form_.PBar->setVisible(false); }

  private:
    QLineEdit* edit(tarvel::ResultBox box) const {
        using tarvel::ResultBox;
        switch (box) {
        case ResultBox::xt:
            return form_.xt;
        case ResultBox::qmaxt:
            return form_.qmaxt;
        case ResultBox::tt:
            return form_.tt;
        case ResultBox::fmst:
            return form_.fmst;
        case ResultBox::mmst:
            return form_.mmst;
        case ResultBox::fqt:
            return form_.fqt;
        case ResultBox::mqt:
            return form_.mqt;
        case ResultBox::ct:
            return form_.ct;
        case ResultBox::c2t:
            return form_.c2t;
        case ResultBox::h1t:
            return form_.h1t;
        case ResultBox::h2t:
            return form_.h2t;
        case ResultBox::vt:
            return form_.vt;
        }
        return form_.vt;
    }
    Ui::kqform1& form_;
};

} // namespace

Kqform1::Kqform1(QWidget* parent) : QWidget(parent) {
    // Followers may take the signals queued, by the names the signals spell.
    qRegisterMetaType<tarvel::InputTexts>("tarvel::InputTexts");
    qRegisterMetaType<tarvel::BaseResult>("tarvel::BaseResult");
    form_.setupUi(this);
    setFont(windowFont());
    connect(form_.Command1, &QPushButton::clicked, this, &Kqform1::calculate);
    connect(form_.Command2, &QPushButton::clicked, this, &Kqform1::exitProgram);
    // Nothing else takes the focus first: the figure holds it until the user tabs on.
    form_.Picture1->setFocus();
}

QFont Kqform1::windowFont() {
    QFont font("WenQuanYi Zen Hei Mono");
    font.setPixelSize(12);
    return font;
}

void Kqform1::calculate() {
    if (running_) return; // one calculation at a time
    running_ = true;
    const tarvel::InputTexts texts{form_.pt->text().toStdString(), form_.mt->text().toStdString(),
                                   form_.d1t->text().toStdString(), form_.d2t->text().toStdString(),
                                   form_.nt->text().toStdString()};
    BoxSink sink(form_);
    tarvel::SearchProgress progress;
    progress.range = [this](float first, float last) {
        form_.PBar->setFloatRange(first, last);
        form_.PBar->setVisible(true);
    };
    progress.trial = [this](float sigma) { onTrial(sigma); };
    sinceEvents_.start();
    tarvel::Outcome outcome;
    try {
        outcome = tarvel::calculate(texts, sink, progress);
    } catch (const tarvel::TarvelError& error) {
        running_ = false;
        form_.PBar->setVisible(false);
        emit failed(texts, QString::fromUtf8(error.what()));
        showFailure(error);
        return;
    } catch (const ExitRequested&) {
        running_ = false;
        close();
        return;
    }
    running_ = false;
    if (outcome == tarvel::Outcome::Refused) {
        emit refused(texts);
        QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(),
                        QString::fromUtf8(tarvel::fullTensionMessage), QMessageBox::Ok, this);
        box.exec();
        return;
    }
    // The texts as the boxes hold them now, which is what the user reads.
    tarvel::BaseResult shown;
    for (tarvel::ResultBox box : tarvel::allResultBoxes)
        shown[box] = sink.read(box);
    emit calculated(texts, shown);
}

void Kqform1::setInputs(const tarvel::InputTexts& texts) {
    QLineEdit* const boxes[] = {form_.pt, form_.mt, form_.d1t, form_.d2t, form_.nt};
    for (std::size_t i = 0; i < texts.size(); ++i)
        boxes[i]->setText(QString::fromStdString(texts[i]));
}

void Kqform1::onTrial(float sigma) {
    form_.PBar->setFloatValue(sigma);
    // A long sweep still repaints the bar and lets the user end the program.
    if (sinceEvents_.elapsed() >= 50) {
        QCoreApplication::processEvents();
        sinceEvents_.restart();
        if (exitRequested_) throw ExitRequested{};
    }
}

void Kqform1::showFailure(const tarvel::TarvelError& error) {
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(),
                    QString::fromUtf8(error.what()), QMessageBox::Ok, this);
    box.exec();
    QLineEdit* input = nullptr;
    switch (error.field()) {
    case tarvel::InputField::P:
        input = form_.pt;
        break;
    case tarvel::InputField::M:
        input = form_.mt;
        break;
    case tarvel::InputField::d:
        input = form_.d1t;
        break;
    case tarvel::InputField::D:
        input = form_.d2t;
        break;
    case tarvel::InputField::n:
        input = form_.nt;
        break;
    default: // no input box of this window
        break;
    }
    if (input) {
        input->setFocus();
        input->selectAll();
    }
}

void Kqform1::exitProgram() {
    close();
}

void Kqform1::closeEvent(QCloseEvent* event) {
    if (running_) {
        // The calculation unwinds at its next progress report and closes the window then.
        exitRequested_ = true;
        event->ignore();
        return;
    }
    event->accept();
}
