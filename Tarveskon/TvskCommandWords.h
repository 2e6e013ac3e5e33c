// The command words of the main page ("NewFile", "ReadAll", "Connect" ...) turned into posted
// commands, host commands or the dialog's own actions; any other word is a drive command.
#pragma once

#include <framework/WinTypes.h>

class CPluginIntf;
class CWnd;

// File menu command ids.
constexpr UINT ID_FILE_NEW = 0xE100;
constexpr UINT ID_FILE_OPEN = 0xE101;
constexpr UINT ID_FILE_CLOSE = 0xE102;
constexpr UINT ID_FILE_SAVE = 0xE103;
constexpr UINT ID_FILE_SAVE_AS = 0xE104;
constexpr UINT ID_FILE_PRINT_COMMAND = 0xE107;

// What the main dialog does for the words that are not host commands.
class CTvskCommandActions
{
public:
    virtual ~CTvskCommandActions() = default;
    virtual void PostToDialog(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // "Connect" while not connected: the connection choice.
    virtual void ChooseConnection() = 0;
    virtual void ConfigConnection() = 0;
    virtual void Upload() = 0;
    virtual void UploadDrive() = 0;
    virtual void UploadMotor() = 0;
};

class CTvskCommandWords
{
public:
    CTvskCommandWords(CPluginIntf& host, CTvskCommandActions& actions, CWnd* dialog);
    void Run(const char* word);

private:
    CPluginIntf& m_host;
    CTvskCommandActions& m_actions;
    CWnd* m_dialog;
};
