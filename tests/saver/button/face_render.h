#pragma once
// One golden face painted on Linux: the real Command over the recording
// toolkit, whose surfaces paint with toolkit::raster.
#include "saver/toolkit/raster/raster.h"
#include "tests/saver/button/face_looks.h"

namespace button::faces {

toolkit::raster::Image RenderFace(const FaceCase& face, const FaceSize& size);

}  // namespace button::faces
