#include "core/LibraryStore.h"

// Placeholder bodies; the store replaces them.
bool CLibraryStore::Load() {
    return true;
}
bool CLibraryStore::Save() {
    return true;
}
