// IIdleHandler: the work a window does for the application when its message queue has emptied.
#pragma once

// The application's main window implements this (the frame does) to have its idle work done;
// the application asks for it without knowing the window's class.
class IIdleHandler {
public:
    // One idle moment's work: the command-UI state of the window's bars and the like.
    virtual void OnIdleUpdateCmdUI() = 0;

protected:
    ~IIdleHandler() = default;  // not deleted through the interface
};
