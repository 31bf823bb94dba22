#include "FileDialog.h"

#include <commdlg.h>

#include <cstring>

bool FileDialog::askSave(const char* title, const char* filter, const char* extension,
                         char (&path)[MAX_PATH])
{
    return ask(true, title, filter, extension, path);
}

bool FileDialog::askOpen(const char* title, const char* filter, const char* extension,
                         char (&path)[MAX_PATH])
{
    return ask(false, title, filter, extension, path);
}

bool FileDialog::ask(bool save, const char* title, const char* filter, const char* extension,
                     char (&path)[MAX_PATH])
{
    path[MAX_PATH - 1] = '\0';
    OPENFILENAMEA request;
    std::memset(&request, 0, sizeof request);
    request.lStructSize = sizeof request;
    request.lpstrFilter = filter;
    request.lpstrFile = path;
    request.nMaxFile = MAX_PATH;
    request.lpstrTitle = title;
    request.lpstrDefExt = extension;
    request.Flags = save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST;
    return save ? GetSaveFileNameA(&request) != 0 : GetOpenFileNameA(&request) != 0;
}
