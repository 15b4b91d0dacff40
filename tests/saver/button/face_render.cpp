#include "tests/saver/button/face_render.h"

#include "tests/saver/support/fake_toolkit.h"

namespace button::faces {

toolkit::raster::Image RenderFace(const FaceCase& face, const FaceSize& size) {
  testsupport::FakeApplication app;
  struct NoEvents : toolkit::FormEvents {} events;
  auto form = app.CreateForm(events);
  form->Load();
  std::unique_ptr<Command> command = MakeFaceButton(app, *form, size, "");
  face.drive(*command);
  return dynamic_cast<testsupport::FakeUserControl&>(command->Control()).surface.image;
}

}  // namespace button::faces
