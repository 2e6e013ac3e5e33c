// The store files: the machine-wide part shared by every user of an installation and each user's
// own part, cached, re-read when another process changed them.
#pragma once

#include "RegistryTree.h"

#include <framework/WinTypes.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <sys/types.h>

namespace tvsk::registry
{

// The machine-wide part holds HKEY_CLASSES_ROOT and HKEY_LOCAL_MACHINE (registrations, type
// libraries, the protocol list), the user's part the other roots (profile, settings).
enum class StorePart
{
    Machine,
    User
};

// TARVESKON_REGISTRY when set (one file for both parts); for the machine-wide part a file
// "registry" beside the running program (TARVESKON_PROGRAM_DIR when set) when there is one (the
// build tree registers its
// components there); else $XDG_CONFIG_HOME/MurnApps/registry, with ~/.config standing in for an
// unset XDG_CONFIG_HOME.
std::string StoreFilePath(StorePart part);
// The user's folder and store file, made when missing (the program's first start).
LONG CreateUserStore();

// Called after the new store text is written and synced, before it replaces the store. Tests use
// it to end a writer at the worst moment.
void SetBeforeReplaceHook(std::function<void()> hook);

class RegistryStore
{
public:
    static RegistryStore& Instance(StorePart part);
    // The part that holds the root key of that name.
    static RegistryStore& For(const std::string& rootName);

    // The reader sees the latest committed store. The top key holds the roots by name.
    LONG Read(const std::function<LONG(const RegKey& top)>& reader);
    // Holds the store's file lock over re-reading the store, applying the change and committing
    // it, so no other process's write is lost. The writer sets changed when it altered the tree;
    // a writer that fails must leave the tree as it was.
    LONG Write(const std::function<LONG(RegKey& top, bool& changed)>& writer);
    // Writes the store file when there is none.
    LONG Create();

private:
    explicit RegistryStore(StorePart part) : m_part(part) {}
    LONG Change(const std::function<LONG(RegKey& top, bool& changed)>& writer, bool createMissing);
    struct FileStamp
    {
        bool exists = false;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        long mtimeSec = 0;
        long mtimeNsec = 0;
        mode_t mode = 0;
        bool operator==(const FileStamp&) const = default;
    };

    LONG Refresh(const std::string& path);
    LONG Commit(const std::string& path);
    void Forget();

    const StorePart m_part;
    std::mutex m_mutex;
    std::string m_path;
    bool m_cached = false;
    FileStamp m_stamp;
    std::unique_ptr<RegKey> m_top;
};

} // namespace tvsk::registry
