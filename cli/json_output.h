#pragma once
// Machine-readable output: one JSON object per command, indented, on standard output.

#include <nlohmann/json.hpp>
#include <string>

#include "cli/cli_context.h"
#include "link/link_state.h"

namespace zav::cli {

using Json = nlohmann::json;

// Indented by four blanks, with register numbers as keys in numeric order ("80" ... "102"),
// then the other keys by name (a plain sort would put "100" before "80"). Numbers are
// written in their shortest exact form.
std::string JsonText(const Json& object);
void PrintJson(const CliContext& cli, const Json& object);
// A single-precision value as the double its shortest text reads as, so that it is written
// as that text (2.2, not the widened 2.200000047683716).
Json JsonNumber(float value);
// Each register of the image from `first` to `last` by number: caption, unit, value.
Json RegistersJson(const RegisterImage& image, std::uint8_t first, std::uint8_t last);

}  // namespace zav::cli
