#include "error.h"

namespace tarvel {

const char* inputCaption(InputField field) {
    switch (field) {
    case InputField::P:
        return "P(kN)";
    case InputField::M:
        return "M(kN)";
    case InputField::d:
        return "d(mm)";
    case InputField::D:
        return "D(mm)";
    case InputField::n:
        return "锚栓个数";
    case InputField::None:
        break;
    }
    return "";
}

const char* errorKindName(ErrorKind kind) {
    switch (kind) {
    case ErrorKind::TypeMismatch:
        return "type mismatch";
    case ErrorKind::Overflow:
        return "overflow";
    case ErrorKind::SubscriptOutOfRange:
        return "subscript out of range";
    case ErrorKind::DivisionByZero:
        return "division by zero";
    case ErrorKind::OutOfRange:
        return "out of range";
    }
    return "";
}

} // namespace tarvel
