#include "screens/TDirDialog.h"

#include "screens/FileDialogs.h"

#include <optional>

bool TDirDialog::Execute()
{
    const std::optional<std::string> chosen = Dialogs().ChooseFolder(Title, Directory);
    if (!chosen)
        return false;
    Directory = *chosen;
    return true;
}
