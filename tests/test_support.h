#pragma once

// What the engine's tests share: checking the typed error a step ends with.

#include "core/error.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tarvel {

// The error a step should end with; a field or message left out is not checked.
struct ExpectedError {
    ErrorKind kind;
    std::optional<InputField> field = std::nullopt;
    const char* message = nullptr;
};

// Success when `step` throws a TarvelError of the expected kind, field and message.
template <typename Step>
testing::AssertionResult throwsError(Step&& step, const ExpectedError& expected) {
    try {
        step();
    } catch (const TarvelError& e) {
        if (e.kind() != expected.kind)
            return testing::AssertionFailure()
                   << "kind " << errorKindName(e.kind()) << " (" << e.what() << "), expected "
                   << errorKindName(expected.kind);
        if (expected.field && e.field() != *expected.field)
            return testing::AssertionFailure()
                   << "field \"" << inputCaption(e.field()) << "\", expected \""
                   << inputCaption(*expected.field) << "\"";
        if (expected.message && std::string(e.what()) != expected.message)
            return testing::AssertionFailure()
                   << "message " << e.what() << ", expected " << expected.message;
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "no TarvelError";
}

} // namespace tarvel
