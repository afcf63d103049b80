#pragma once

#include <string>

#include "cli/output.h"
#include "station/frame_listing.h"

// A setting's value in JSON: numbers as numbers, check boxes as true/false, list items and
// texts as strings.
[[nodiscard]] JsonObject FieldValueJson(const FieldValue& value);

// `event` with "identity" and "fields" objects added, in listing order.
[[nodiscard]] JsonObject ListingJson(JsonObject event, const FrameListing& listing);
// "key: value" lines, identity first.
[[nodiscard]] std::string ListingText(const FrameListing& listing);
