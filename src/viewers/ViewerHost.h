// The viewers of the window: the "views" panel that lies in a pane's place while
// viewer mode is on, the frames it holds (image, text, information), the choice of
// frame for a file, launching files with their default application, and the copy of
// a file extracted for viewing. The window owns one and moves the panes around it;
// the host never touches the panes.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;
class TFRVwFileInfo;
class TFRVwImage;
class TFRVwText;
class ViewerExtensions;

class ViewerHost : public QObject {
    Q_OBJECT
public:
    // What is to be shown: the entry `Name` in `Folder` (a real folder: an entry
    // inside a zip has been extracted first).
    struct Item {
        QString Folder;          // with a trailing '/'
        QString Name;
        bool IsFile = true;      // false for folders, volumes and ".."
    };

    ViewerHost(const ViewerExtensions& extensions, QWidget* window);
    ~ViewerHost() override;

    QWidget* Views() const { return m_views; }
    bool IsShown() const;
    bool IsViewable(const QString& name) const;

    // Puts the panel into a pane's viewer panel and shows it.
    void Enter(QWidget* viewerPanel);
    // Hides the panel and every frame and stops the viewers.
    void Leave();
    // Shows the item in the frame its kind calls for (the viewer mode is on).
    void Show(const Item& item, bool asText, bool info);
    // Stops whatever the frames do and removes the extracted copy, if any.
    void StopViewers();

    // Opens the file with the desktop's default application, as a child process of
    // its own; a copy given as `temporaryCopy` is deleted when the program ends.
    // False when nothing could be started.
    bool Launch(const QString& path, const QString& workingDir, const QString& temporaryCopy = {});

    // The file extracted for the current view, deleted by StopViewers.
    void SetViewerTempFile(const QString& path) { m_viewerTempFile = path; }
    QString ViewerTempFile() const { return m_viewerTempFile; }

Q_SIGNALS:
    // The text frame's close button, and its editor opening and closing.
    void CloseRequested();
    void EditorOpening();
    void EditorClosed();

public:
    TFRVwImage* ImageFrame();
    TFRVwText* TextFrame();
    TFRVwFileInfo* InfoFrame();

private:
    void showFrame(QWidget* frame);
    void hideFrames();
    void removeViewerTempFile();

    const ViewerExtensions& m_extensions;
    QWidget* m_window;
    QWidget* m_views;
    QPointer<TFRVwImage> m_image;
    QPointer<TFRVwText> m_text;
    QPointer<TFRVwFileInfo> m_info;
    QString m_viewerTempFile;
};
