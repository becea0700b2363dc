// The image list of the workspace panel's trees (imgLstWorkSpace): each image
// name with its picture. The names of hidden entities end in " Invisible".
#pragma once

class KeyedTree;

// Gives the tree a picture for every image name of the list: "Folder",
// "Texture", "FolderOpen", "Group", "Group Invisible", "Pol", "Pol Invisible",
// "Cam", "Cam Invisible", "Background", "Track", "Gallery", "Light",
// "Light Invisible".
void InstallWorkspaceImages(KeyedTree& tree);
