// Registers the picture formats plugin with Qt when the program starts. This
// file is linked whole into every program (see CMakeLists.txt): nothing calls
// into it, so a plain static link would leave it out.
#include <QtPlugin>

Q_IMPORT_PLUGIN(PictureFormatsPlugin)
