#include "framework/quitmenuitem.h"

#include <QCoreApplication>

namespace fw {

void QuitMenuItem::Perform() { QCoreApplication::exit(0); }

} // namespace fw
