#include <QtCore/qglobal.h>

// The icons and the logo are compiled into the static library; a static library's
// resources must be registered by a call, or the linker drops them.
static void InitViewerResourcesOnce() { Q_INIT_RESOURCE(viewer); }

namespace rxt4 {

void InitViewerResources() {
  static const bool done = (InitViewerResourcesOnce(), true);
  (void)done;
}

}  // namespace rxt4
