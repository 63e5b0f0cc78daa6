#pragma once

#include <cairo.h>

namespace assetgen::munition {

// Each draws into a box at the origin the size of its rectangle.
void AlliedBullet(cairo_t* cr);   // 15 x 10, nose towards +x: a yellow-white tracer
void Missile(cairo_t* cr);        // 58 x 10, nose towards +x
void EnemyBullet(cairo_t* cr);    // 12 x 14, flies down: a red-hot pellet
void HealthRefill(cairo_t* cr);   // 12 x 12: red cross on white
void MissileRefill(cairo_t* cr);  // 12 x 12: rocket on yellow
void FireSpread(cairo_t* cr);     // 16 x 16: three diverging shots on green
void FireRate(cairo_t* cr);       // 16 x 16: lightning bolt on blue

}  // namespace assetgen::munition
