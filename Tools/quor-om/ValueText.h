#pragma once
// The tool's value text, one form for input and output, so that what `decode` prints reads
// back through `encode` to the same bytes.

#include <string>

#include <boost/optional.hpp>

#include <TevValue/TevValue.h>

namespace QuorOm {

// The text read as a value of type tvt; empty when it is no such value. "invalid" and "empty"
// give the invalid and the empty value whatever tvt is.
boost::optional<TEVVALUE> ParseValueText(const std::string& text, TevValueType tvt);

// For a DPT without a value type of its own: the type is guessed from the text the way the
// platform reads plain texts.
TEVVALUE InferValueText(const std::string& text);

std::string FormatValueText(const TEVVALUE& value);

}  // namespace QuorOm
