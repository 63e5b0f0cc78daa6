#pragma once

#include <asset/texture_layout.hpp>

#include <cairo.h>

namespace assetgen::aircraft {

// Each draws one aircraft seen from above into a box at the origin the size of its rectangle.
// Allies are olive or blue-grey and face up; enemies are dark red and face down.
void AlliedHeavy(cairo_t* cr, asset::Bank bank);  // 32 x 48
void AlliedLight(cairo_t* cr, asset::Bank bank);  // 32 x 48
void EnemyHeavy(cairo_t* cr);              // 63 x 65
void EnemyLight(cairo_t* cr);              // 63 x 65

}  // namespace assetgen::aircraft
