// The store file shared by all processes of a user: cached, re-read when another process changed it.
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

// TARVESKON_REGISTRY when set; else a file "registry" beside the running program when there is one
// (the build tree registers its components there); else $XDG_CONFIG_HOME/MurnApps/registry, with
// ~/.config standing in for an unset XDG_CONFIG_HOME.
std::string StoreFilePath();

// Called after the new store text is written and synced, before it replaces the store. Tests use
// it to end a writer at the worst moment.
void SetBeforeReplaceHook(std::function<void()> hook);

class RegistryStore
{
public:
    static RegistryStore& Instance();

    // The reader sees the latest committed store. The top key holds the roots by name.
    LONG Read(const std::function<LONG(const RegKey& top)>& reader);
    // Holds the store's file lock over re-reading the store, applying the change and committing
    // it, so no other process's write is lost. The writer sets changed when it altered the tree;
    // a writer that fails must leave the tree as it was.
    LONG Write(const std::function<LONG(RegKey& top, bool& changed)>& writer);

private:
    struct FileStamp
    {
        bool exists = false;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        long mtimeSec = 0;
        long mtimeNsec = 0;
        bool operator==(const FileStamp&) const = default;
    };

    LONG Refresh(const std::string& path);
    LONG Commit(const std::string& path);
    void Forget();

    std::mutex m_mutex;
    std::string m_path;
    bool m_cached = false;
    FileStamp m_stamp;
    std::unique_ptr<RegKey> m_top;
};

} // namespace tvsk::registry
