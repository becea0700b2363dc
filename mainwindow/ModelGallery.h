// The model gallery on disk: the folder "Models" beside the program, its tree of
// sub-folders (a folder named "bitmaps" is the models' texture store and never
// shown), models (.wld, .vandel) and a .jpg preview beside each model.
#pragma once

#include <string>
#include <vector>

class KeyedTree;
class QTreeWidgetItem;

namespace ModelGallery {

inline constexpr const char* kRootText = "MODELS";
inline constexpr const char* kFolderImage = "Folder";
inline constexpr const char* kFolderOpenImage = "FolderOpen";
inline constexpr const char* kModelImage = "Gallery";

// The program folder followed by "Models" (no trailing separator).
std::string GalleryRoot();

// Rebuilds the whole tree from disk; a missing gallery folder is created empty.
// Errors in the listing leave the nodes added so far.
void trwModel_Populate(KeyedTree& tree);
// The folder nodes below the node keyed path, depth first, then its models.
void trwModel_AddFolders(KeyedTree& tree, const std::string& path);
// The model nodes of one folder below the node keyed path.
void trwModel_AddModels(KeyedTree& tree, const std::string& path);

bool IsModelNode(const QTreeWidgetItem* node);
bool IsRootNode(const QTreeWidgetItem* node);
// The model's preview picture: its path with the extension replaced by ".jpg".
std::string PreviewPath(const std::string& modelPath);

// A name the gallery may give a file or folder: not empty, not "." or "..", no
// separator, no control character, not hidden (the gallery never lists hidden
// entries), and short enough for the file system.
bool IsUsableName(const std::string& name);
// "bitmaps" in any letter case: the models' texture folder, never shown or made.
bool IsReservedFolderName(const std::string& name);
// Whether path lies strictly inside the gallery root (symbolic links resolved).
bool IsInsideGallery(const std::string& path);

// Sub-folders (full paths, symbolic links left out) and file names of a folder,
// hidden entries left out, in the listing's alphabetical order.
std::vector<std::string> ListSubFolders(const std::string& path);
std::vector<std::string> ListFileNames(const std::string& path);

// Deletes the sub-folders of path at every depth, then its listed files, then
// path itself when nothing is left in it (a hidden file keeps it). Symbolic
// links are deleted as links, never followed.
void DeleteFolderTree(const std::string& path);
void DeleteFolderFiles(const std::string& path);

}  // namespace ModelGallery
