#pragma once

#include <string_view>

// A file of the page, built into the program.
struct PageAsset {
    std::string_view path;  // as requested: "/", "/app.js", ...
    std::string_view contentType;
    std::string_view body;
};

// The page's file at `path`; nothing for any other path.
[[nodiscard]] const PageAsset* FindPageAsset(std::string_view path);
