#pragma once

#include <QString>

// The program's help pages, compiled into its resources.
namespace MHelpPages {
// The resource folder of the pages and their topic map (":/help"); makes sure the resources
// are registered, as a static library's resources are not until someone asks.
QString Folder();
} // namespace MHelpPages
