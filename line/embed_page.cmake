# Writes OUTPUT, a C++ source that holds the files FILES of SOURCE_DIR as string views, so the
# page is built into lvcfg-line. Run by CMake at build time (cmake -P) whenever a file changes.
set(types_html "text/html; charset=utf-8")
set(types_css "text/css; charset=utf-8")
set(types_js "text/javascript; charset=utf-8")

string(REPLACE "," ";" FILES "${FILES}")
set(definitions "")
set(table "")
set(index 0)
foreach(name IN LISTS FILES)
  file(READ "${SOURCE_DIR}/${name}" hex HEX)
  file(SIZE "${SOURCE_DIR}/${name}" size)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" escaped "${hex}")
  string(REGEX MATCH "[a-z]+$" extension "${name}")
  set(path "/${name}")
  if(name STREQUAL "index.html")
    set(path "/")
  endif()
  string(APPEND definitions "constexpr char kFile${index}[] = \"${escaped}\";\n")
  string(APPEND table "    PageAsset{\"${path}\", \"${types_${extension}}\", {kFile${index}, ${size}}},\n")
  math(EXPR index "${index} + 1")
endforeach()

file(WRITE "${OUTPUT}.new" "// Made from line/page by line/embed_page.cmake.
#include <array>

#include \"line/page_assets.h\"

namespace {

${definitions}
constexpr std::array kAssets{
${table}};

}  // namespace

const PageAsset* FindPageAsset(std::string_view path) {
    for (const PageAsset& asset : kAssets) {
        if (asset.path == path) {
            return &asset;
        }
    }
    return nullptr;
}
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
