#ifndef QUILLON_SEARCH_REGISTRY_WALKER_H
#define QUILLON_SEARCH_REGISTRY_WALKER_H

#include "search/registry_ops.h"
#include "search/search_pacer.h"

#include <windows.h>

#include <atomic>
#include <string>

// Walks the open key hKey and everything below it, depth first: first the
// key's values, each REG_SZ value that holds strFind or strFindShort becoming
// a checked row of the result list in hWndList; then each subkey in index
// order, announced to hWndNotify (nMsgKeyCount with "<n> Keys Proceeded.",
// nMsgKeyPath with the key's full name; 0 sends nothing) and counted in
// *pnKeyCount before it is walked.
//
// The walk goes on while *pbSearching reads non-zero; it is read at every
// key. Subkeys are opened for reading only. A key that cannot be opened or
// read is skipped with everything below it, and its siblings follow.
//
// With a pacer, the progress texts are paced by it and the found rows reach
// the list through it, in batches sent to hWndNotify; the caller flushes it
// at the end of the search.
//
// Returns TRUE when the walk ended normally or was stopped by the run flag,
// FALSE when it was refused (a missing argument, a window gone) or failed.
BOOL RecurseRegistry(HWND hWndNotify, HWND hWndList, UINT nMsgKeyCount, UINT nMsgKeyPath,
                     std::atomic<LONG>* pbSearching, const std::string& strFind,
                     const std::string& strFindShort, const std::string& strRootKey,
                     const std::string& strKeyPath, HKEY hKey, int* pnKeyCount,
                     const RegistryOps& ops = RegistryOps::Real(),
                     CSearchPacer* pPacer = nullptr);

#endif
