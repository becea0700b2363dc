// The user's input on the workspace's trees reaches their handlers here: clicks,
// label edits, folders opening and closing and mouse buttons, each handler run
// with the standard error trap.
#include "Form1.h"
#include "ModelGalleryInput.h"

#include "platform/error_trap.h"

namespace {

// The nodes whose click makes their entity the selection (a polygon's or a
// folder's does not).
bool clickSelects(const QTreeWidgetItem* node) {
    const std::string key = KeyedTree::Key(node);
    for (const char* kind : {"Group", "Camera", "Track", "Background", "Light"})
        if (KeyedTree::HandleOf(key, kind) != 0) return true;
    return false;
}

}  // namespace

ModelGalleryInput* Form1::connectTree(KeyedTree* tree, const TreeHandlers& handlers) {
    tree->ClickSelects = clickSelects;
    if (auto click = handlers.NodeClick) {
        connect(tree, &QTreeWidget::itemClicked, this, [this, click](QTreeWidgetItem* node, int) {
            platform::runTrapped(this, [this, click, node] { (this->*click)(node); });
        });
    }
    if (auto edit = handlers.AfterLabelEdit) {
        tree->SetLabelEditHandler([this, edit](QTreeWidgetItem* node, const std::string& text) {
            std::optional<std::string> kept;
            platform::runTrapped(this, [&] { kept = (this->*edit)(node, text); });
            return kept;
        });
    }
    if (auto expand = handlers.Expand) tree->NodeExpand = [this, expand](QTreeWidgetItem* node) { (this->*expand)(node); };
    if (auto collapse = handlers.Collapse) {
        tree->NodeCollapse = [this, collapse](QTreeWidgetItem* node) {
            platform::runTrapped(this, [this, collapse, node] { (this->*collapse)(node); });
        };
    }
    auto* mouse = new ModelGalleryInput(tree->viewport());
    if (auto up = handlers.MouseUp) {
        mouse->MouseUp = [this, up](int button, int shift, int x, int y) {
            platform::runTrapped(this, [&] { (this->*up)(button, shift, x, y); });
        };
    }
    return mouse;
}
