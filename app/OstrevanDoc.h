#pragma once
// The document of the single main window. It holds no data of its own (everything lives
// in the database) and is never saved; it gives the window its title.

#include <QString>

class COstrevanDoc {
public:
    // The document type's description, seven parts separated by "\n": window title,
    // document name, short file-type name, filter, extension, type identifier and
    // type name.
    static QString DocString();
    // One part of it (0 to 6); empty beyond the last.
    static QString DocStringPart(int index);

    // "Ostrevan": the caption of the main window.
    QString GetTitle() const { return DocStringPart(0); }
    // The document holds nothing, so there is never anything to save.
    bool IsModified() const { return false; }
    // A new document: nothing to empty.
    bool OnNewDocument() { return true; }
};
