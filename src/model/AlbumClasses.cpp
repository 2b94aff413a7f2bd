#include "model/ModelClasses.h"

#include "model/ClassRegistry.h"
#include "model/evActionElement.h"
#include "model/evBranding.h"
#include "model/evCategory.h"
#include "model/evCategoryEntry.h"
#include "model/evHelptext.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evPageLayoutEntry.h"
#include "model/evPhotograph.h"
#include "model/evUserPicture.h"

// evProject and evLayoutPreview are deliberately absent: they are only ever read by their own constructors.
void RegisterAlbumClasses()
{
    ClassRegistry& registry = ClassRegistry::Instance();
    registry.Register<evPageLayoutEntry>();
    registry.Register<evBranding>();
    registry.Register<evUserPicture>();
    registry.Register<evActionElement>();
    registry.Register<evPageLayout>();
    registry.Register<evLayout>();
    registry.Register<evCategory>();
    registry.Register<evCategoryEntry>();
    registry.Register<evPhotograph>();
    registry.Register<evHelptext>();
}
