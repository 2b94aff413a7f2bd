#include "model/ModelClasses.h"

#include "model/ClassRegistry.h"
#include "model/evDrawableElement.h"
#include "model/evFont.h"
#include "model/evPicture.h"
#include "model/evUserTextfield.h"

void RegisterElementClasses()
{
    ClassRegistry& registry = ClassRegistry::Instance();
    registry.Register<evDrawableElement>();
    registry.Register<evPicture>();
    registry.Register<evFont>();
    registry.Register<evUserTextfield>();
}
