#include "cli/listing_output.h"

#include "store/stored_text.h"

JsonObject FieldValueJson(const FieldValue& value) {
    return std::visit([](const auto& v) { return JsonObject(v); }, value);
}

namespace {

JsonObject ValuesJson(const std::vector<ListedValue>& values) {
    JsonObject object = JsonObject::object();
    for (const ListedValue& entry : values) {
        object[entry.key] = FieldValueJson(entry.value);
    }
    return object;
}

// A module's name or a file's text may hold any bytes: control bytes and bytes that are no
// text are escaped as the record keeps them, so no value can forge a line or move a terminal.
void AppendLines(const std::vector<ListedValue>& values, std::string& text) {
    for (const ListedValue& entry : values) {
        text += entry.key + ": " + StoredText(FieldValueText(entry.value)) + "\n";
    }
}

}  // namespace

JsonObject ListingJson(JsonObject event, const FrameListing& listing) {
    event["identity"] = ValuesJson(listing.identity);
    event["fields"] = ValuesJson(listing.fields);
    return event;
}

std::string ListingText(const FrameListing& listing) {
    std::string text;
    AppendLines(listing.identity, text);
    AppendLines(listing.fields, text);
    if (!text.empty()) {
        text.pop_back();  // Output ends the last line itself
    }
    return text;
}
