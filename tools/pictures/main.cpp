#include "MakePictures.h"

#include <QGuiApplication>

#include <iostream>

int main(int argc, char* argv[])
{
    // The pictures are painted into images only; no window ever opens, so no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return tepa::pictures::run(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
