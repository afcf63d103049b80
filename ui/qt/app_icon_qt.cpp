#include "ui/qt/app_icon_qt.h"

#include <QImage>
#include <QPixmap>

#include "resources/app_icon.h"

QIcon LoadAppIcon(int iconId) {
    QIcon icon;
    for (const IconImage& image : LoadIconImages(iconId)) {
        QImage view(image.rgba.data(), image.size, image.size, image.size * 4,
                    QImage::Format_RGBA8888);
        icon.addPixmap(QPixmap::fromImage(view.copy()));
    }
    return icon;
}
