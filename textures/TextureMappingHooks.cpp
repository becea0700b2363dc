// How the rest of the editor reaches the texture-coordinate editor.
#include "frmTextureMapping.h"

#include "core/WindowHooks.h"

namespace {

frmTextureMapping* loadedEditor() {
    frmTextureMapping* editor = frmTextureMapping::Instance();
    return editor && editor->Loaded ? editor : nullptr;
}

}  // namespace

void frmTextureMapping::ConnectHooks(core::WindowHooks& hooks) {
    hooks.textureMappingLoaded = [] { return loadedEditor() != nullptr; };
    hooks.textureMappingResetSelections = [] {
        if (frmTextureMapping* editor = loadedEditor()) editor->ResetSelections();
    };
    hooks.textureMappingSetupWithNewZoom = [] {
        if (frmTextureMapping* editor = loadedEditor()) editor->SetupWithNewZoom();
    };
    hooks.textureMappingSetSelPts = [](const int32_t* pts, const int32_t* owners, int32_t count) {
        if (frmTextureMapping* editor = loadedEditor()) editor->SetSelPts_And_OwnerPols(pts, owners, count);
    };
    hooks.textureMappingSetSelPtsPartOfSelPols = [](const int32_t* pts, const int32_t* owners, int32_t count) {
        if (frmTextureMapping* editor = loadedEditor())
            editor->SetSelPtsPartOfSelPols_And_OwnerPols(pts, owners, count);
    };
}
