#pragma once
// Pictures for the windows: JPEG files and resources decoded by the core's libjpeg decoder,
// and the built-in placeholder of the details panel.

#include <QImage>
#include <QString>

#include <string>

namespace vorbix::gui {

// A null image when the file is missing or not a loadable JPEG.
QImage LoadJpegFile(const std::string& path);
// A JPEG built into the program (a Qt resource path such as ":/Splash.jpg").
QImage LoadJpegResource(const QString& resourcePath);

// The BBC Micro's start-up screen, white on black, 400 x 300.
QImage PlaceholderPicture();

} // namespace vorbix::gui
