#pragma once

#include "analysis/search.h"

#include <array>
#include <string>
#include <vector>

namespace tarvel {

// The result boxes, in the order their texts are produced.
enum class ResultBox { xt, qmaxt, tt, fmst, mmst, fqt, mqt, ct, c2t, h1t, h2t, vt };
constexpr int resultBoxCount = 12;
const char* boxName(ResultBox box);
constexpr std::array<ResultBox, resultBoxCount> allResultBoxes{
    ResultBox::xt,   ResultBox::qmaxt, ResultBox::tt,  ResultBox::fmst,
    ResultBox::mmst, ResultBox::fqt,   ResultBox::mqt, ResultBox::ct,
    ResultBox::c2t,  ResultBox::h1t,   ResultBox::h2t, ResultBox::vt};

// The texts of one calculation, one per result box.
struct BaseResult {
    std::string xt, qmaxt, tt, fmst, mmst, fqt, mqt, ct, c2t, h1t, h2t, vt;
    std::string& operator[](ResultBox box);
    const std::string& operator[](ResultBox box) const;
};

// Where the texts go as they are produced: the window's boxes, or a BaseResult (TextSink) in
// the command and the batch.
// The derived values read back what was written.
class ResultSink {
  public:
    virtual ~ResultSink() = default;
    virtual void write(ResultBox box, const std::string& text) = 0;
    virtual std::string read(ResultBox box) const = 0;
    // Called right after the moment sum is written and before the shear capacity is made.
    virtual void beforeShearCapacity() {}
};

// A sink that keeps the texts and the order they came in.
class TextSink : public ResultSink {
  public:
    void write(ResultBox box, const std::string& text) override;
    std::string read(ResultBox box) const override;
    const BaseResult& result() const { return result_; }
    const std::vector<ResultBox>& order() const { return order_; }

  private:
    BaseResult result_;
    std::vector<ResultBox> order_;
};

// The text of xt, the compression length.
std::string makeFirstResult(const ElasticCheck& check, char decimalSeparator = '.');

// The texts of qmaxt to vt, handed to the sink one at a time in order.
void makeResults(const BestFit& fit, ResultSink& sink, char decimalSeparator = '.');

} // namespace tarvel
