#include "shell/Constants.hpp"

#include "records/RecordConstants.hpp"

namespace zil::Constants {

const EGeneric& errReadAt() {
    static const EGeneric e = EGeneric::named("IndexOutOfRange", "readAt");
    return e;
}

const EGeneric& errWriteAt() {
    static const EGeneric e = EGeneric::named("IndexOutOfRange", "writeAt");
    return e;
}

const EGeneric& errChildNotInParent() {
    static const EGeneric e =
        EGeneric::named("ChildNotInParent", "Internal error: Child not found in parent control!");
    return e;
}

const EGeneric& errNoCharacterSpecs() {
    static const EGeneric e = EGeneric::internal("No character specs in BitmapFontFunc!");
    return e;
}

const EGeneric& errCacheNotReady() {
    static const EGeneric e = EGeneric::named("CacheNotReady", "No cache rendered in SDLBitmapFont.drawStringOn!");
    return e;
}

const EGeneric& errDivideByZero() {
    static const EGeneric e = EGeneric::named("DivideByZero", "Matrix4x4Mult.invert");
    return e;
}

const EGeneric& errZeroDivideTransformPoint() {
    static const EGeneric e = EGeneric::internal("Zero divide in Matrix4x4.Trans.transformPoint");
    return e;
}

const EGeneric& errRectangleAttribute() {
    static const EGeneric e = EGeneric::named("UIXMLBuild", "Could not parse rectangle attribute");
    return e;
}

const EGeneric& errMandatoryAttributes() {
    static const EGeneric e = EGeneric::named(
        "UIXMLBuild", "The attributes class, name, visible and boundingbox must always be specified for UI-controls!");
    return e;
}

void initGlobals() {
    errReadAt();
    errWriteAt();
    errChildNotInParent();
    errNoCharacterSpecs();
    errCacheNotReady();
    errDivideByZero();
    errZeroDivideTransformPoint();
    errRectangleAttribute();
    errMandatoryAttributes();
    unitScaleTransformList();
}

}  // namespace zil::Constants
