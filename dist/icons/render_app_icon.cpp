// Renders the application icon into a freedesktop icon theme tree, one PNG per size:
// <theme dir>/<n>x<n>/apps/<name>.png. The artwork lives once, in
// resources/app_icon_artwork.cpp; the installed icons are drawn from it at build time rather
// than kept as copies.

#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>
#include <cstdlib>

#include "resources/app_icon_artwork.h"

namespace {

bool writeIcon(const QString& themeDir, const QString& name, int size) {
    const QString folder = QStringLiteral("%1/%2x%2/apps").arg(themeDir).arg(size);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder));
        return false;
    }
    IconImage image = RenderAppIcon(size);
    QImage view(image.rgba.data(), image.size, image.size, image.size * 4, QImage::Format_RGBA8888);
    const QString path = QStringLiteral("%1/%2.png").arg(folder, name);
    if (!view.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "Usage: %s THEME_DIR ICON_NAME SIZE...\n", argv[0]);
        return 2;
    }
    const QString themeDir = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size <= 0 || size > 1024) {
            std::fprintf(stderr, "not an icon size: %s\n", argv[i]);
            return 2;
        }
        if (!writeIcon(themeDir, name, size)) {
            return 1;
        }
    }
    return 0;
}
