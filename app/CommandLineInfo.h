#pragma once
// The program's command line, read as a single-document program reads it: the switches
// that start it for embedding or for automation clients (no window), and otherwise a
// new document with its window.

#include <QString>
#include <QStringList>

class CCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FileNothing };

    bool m_runEmbedded = false;  // "-Embedding" or "/Embedding"
    bool m_runAutomated = false; // "-Automation" or "/Automation"
    ShellCommand m_shellCommand = FileNew;
    QString m_fileName; // first argument that is not a switch

    // The arguments after the program's name. Switches are recognised in any case.
    void Parse(const QStringList& arguments);
    // Started by another program for embedding or automation: no window.
    bool RunsWithoutWindow() const { return m_runEmbedded || m_runAutomated; }

    // The first argument the window program does not take ("" when it takes them all):
    // a first word that is no switch (it would have been a command), or a "--name"
    // that is none of the toolkit's options. Any "-switch" or "/switch" and the words
    // after the first are left to Parse and to the toolkit, which may know more of
    // its own options than are named here.
    static QString UnknownArgument(const QStringList& arguments);
};
