// The undo record of a rename: the entity's kind and handle with its name before
// and after (both without leading or trailing blanks). Undo and Redo change
// nothing but the name: in the engine, on the entity's tree node, and in its
// panel's name field while that field shows this entity.
#pragma once

#include <cstdint>
#include <string>

// Whether the panel's name field shows this entity: the group that is the current
// selection (kind 1), or the one selected polygon (kind 7).
bool NameFieldShows(int32_t kind, int32_t handle);
// The engine's name of the entity of that kind (1, 2, 3, 4, 5 or 7); any other
// kind changes nothing.
void RenameInEngine(int32_t kind, int32_t handle, const char* name);

class ActionRenameEntity {
public:
    void Undo();
    void Redo();
    // Kinds 1 group, 2 camera, 3 track, 4 light, 5 background, 7 polygon; any
    // other makes Undo and Redo do nothing.
    void SetEntityRenamed(int32_t EntityType, int32_t Handle);
    void SetPrevName(const std::string& Name);
    void SetNewName(const std::string& Name);

    int32_t Kind() const { return kind_; }
    int32_t Handle() const { return handle_; }
    const std::string& PrevName() const { return prevName_; }
    const std::string& NewName() const { return newName_; }

private:
    void apply(const std::string& name) const;

    int32_t kind_ = 0;
    int32_t handle_ = 0;
    std::string prevName_;
    std::string newName_;
};
