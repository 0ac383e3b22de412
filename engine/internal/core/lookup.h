#pragma once

#include "core/error.h"

#include <string>
#include <vector>

namespace tarvel {

// A row of a table of named choices (bolt sizes, grades, electrodes), looked up as typed:
// "m36" is M36. An unknown name is an error naming the input and listing the choices.
template <class T>
const T& lookUpChoice(const std::vector<T>& table, const std::string& name, InputField field,
                      const char* what) {
    std::string upper;
    for (char ch : name)
        upper += (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
    for (const T& row : table)
        if (upper == row.name) return row;
    std::string known;
    for (const T& row : table)
        known += (known.empty() ? "" : "、") + std::string(row.name);
    throw TarvelError(ErrorKind::UnknownChoice, field,
                      std::string("「") + inputCaption(field) + "」没有“" + name + "”这一" + what +
                          "，可选：" + known);
}

} // namespace tarvel
