// RXT4_Viewer [data folder]: shows the measurements of a data folder as the
// instrument's screens.
#include <QApplication>

#include "ViewerApp.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  rxt4::CViewerApp viewer;
  return viewer.Run(QApplication::arguments());
}
