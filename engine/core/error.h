#pragma once

#include <stdexcept>
#include <string>

namespace tarvel {

// The classes of failure a calculation can end with.
enum class ErrorKind {
    TypeMismatch,        // a text that is no number
    Overflow,            // a value beyond the range of a double or a single
    SubscriptOutOfRange, // more than 100 bolts
    DivisionByZero,
    OutOfRange,     // an input for which a sweep could never end, or a design value outside
                    // its range
    UnknownChoice,  // a bolt size or material grade the program does not know
    BadProjectFile, // a project file that cannot be read as one
};

// The input a failure belongs to, if any.
enum class InputField {
    None,
    P,
    M,
    d,
    D,
    n,
    // The design inputs.
    bolt,
    steel,
    concrete,
    betaL,
    V,
    friction,
    // The detailing of the steel parts.
    tube,
    tubeSteel,
    plate,
    plateSteel,
    stiffener,
    cap,
    weld,
    stiffenerWeld,
    electrode,
    anchorage,
    modularRatio,
    // The pedestal, the shear key and the seismic capacity.
    pedestal,
    plateHole,
    shearKey,
    grout,
    shearKeyWeld,
    etaJ,
    // The ranges and lists of the sizing.
    sizingBolts,
    sizingCounts,
    sizingD,
    sizingOffset,
    sizingThicknesses,
    sizingHeights,
    sizingWelds,
};

// The one error the engine throws. The message is Chinese and meant for the user.
class TarvelError : public std::runtime_error {
  public:
    TarvelError(ErrorKind kind, InputField field, const std::string& message)
        : std::runtime_error(message), kind_(kind), field_(field) {}

    ErrorKind kind() const { return kind_; }
    InputField field() const { return field_; }

  private:
    ErrorKind kind_;
    InputField field_;
};

// The caption of an input box as the window shows it ("P(kN)", "锚栓个数").
const char* inputCaption(InputField field);

// Short ASCII name of a failure class, for tests and logs.
const char* errorKindName(ErrorKind kind);

} // namespace tarvel
