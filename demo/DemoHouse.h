#pragma once

#include "project/Document.h"

#include <QImage>

// A photograph-like picture of a family house (sky, roof with tiles and a chimney,
// plastered facade with windows and a door, stone plinth, garden) with its mask,
// named Czech layers, real colours, shades and two colour schemes.
struct DemoProject {
    QImage Photo;
    TMask Mask;
    LayerList Layers;
    SchemeList Schemes;
};

DemoProject MakeDemoHouse(int width = 1800, int height = 1200);
