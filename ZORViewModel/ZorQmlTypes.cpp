#include "ZorQmlTypes.h"

#include "ViewUtilityHelper.h"

#include <QQmlEngine>

namespace {

void registerTypes()
{
    qmlRegisterSingletonType<ViewUtilityHelper>("ZOR.ViewUtilityHelper", 1, 0, "ViewUtilityHelper",
                                                viewUtilityHelperSingletonProvider);
}

} // namespace

void zorRegisterQmlTypes()
{
    // QML type registration is process-wide; the GUI thread is the only caller.
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    registerTypes();
}
