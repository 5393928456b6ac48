<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en">
<context>
    <name>AnswerButtons</name>
    <message>
        <source>&amp;Skip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skip all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Retry</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yes to &amp;all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>N&amp;o to all</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AttributesCommand</name>
    <message>
        <source>An error occurred retrieving attributes for</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An error occurred setting attributes for</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Attributes are supported only for files and true directories.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>BackgroundOperations</name>
    <message>
        <source>Unable to launch asynchronous shell operation. No free slots.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Asynchronous shell operation completion with invalid ID.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There are pending async shell operations.
Do you really want to quit?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CellTexts</name>
    <message>
        <source> MB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> KB</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DateTexts</name>
    <message>
        <source>&lt;invalid date&gt;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Descriptions</name>
    <message>
        <source>Unable to write the description to %1: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to write the description to %1: the name %2 cannot be written in it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>another program changed it meanwhile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is larger than %1 MiB, the most that is rewritten, and was left as it was</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DesktopEntry</name>
    <message>
        <source>the backslash at position %1 escapes nothing that may be escaped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the quotation mark at position %1 is never closed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the quoted argument ending at position %1 is not a whole argument</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the character &quot;%1&quot; at position %2 must be quoted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it names no program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a lone &quot;%&quot; ends an argument; a percent sign is written &quot;%%&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the field code %%1 must be an argument of its own</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%%1 is no known field code</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it has more than one file field code</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DesktopLauncher</name>
    <message>
        <source>The program %1 cannot be started: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 runs in a terminal, and no terminal program (x-terminal-emulator) is installed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The application entry %1 cannot be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be started: its command line is broken (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The program %1 of %2 is not installed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no application for the type &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The program %1 is not installed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The working folder %1 does not exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be opened: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DesktopOpen</name>
    <message>
        <source>The folder %1 does not exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The program %1 is not installed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The program %1 could not be started: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileAttributes</name>
    <message>
        <source>Cannot set the attributes of %1: the file system does not keep them.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot set the attributes of %1: %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileOperationEngine</name>
    <message>
        <source>Move &quot;%1&quot; to the Trash?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete &quot;%1&quot; for good?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move %1 items to the Trash?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete %1 items for good?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot delete %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot move %1 to the Trash: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be moved to the Trash: its volume has no trash folder that can take it. Delete it for good?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot delete %1: another file system is mounted on it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only one item can be renamed at a time.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot rename %1 to %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot rename %1 to %2: a file or folder with that name already exists.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> MB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> KB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>move</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot %1 the folder %2 into itself.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot %1 the folder %2 into its own sub-folder %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot %1 %2 onto itself.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The files need %1 but only %2 are free on the target. %3 anyway?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot %1 into %2: it is not a folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder %1 does not exist. Create it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot create the folder %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot move %1 to %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot replace %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot %1 %2: sockets and device files are not copied.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder %1 was moved or replaced during the operation, which stops here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot %1 %2: it changed while it was being read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot move %1: the copy did not come out the same size as the original.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot replace the folder %1 with the file %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot remove %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot make sure the copies reached the disk: %1. The originals are kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 changed while it was being moved, so it was kept; the moved copy has its earlier content.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot move %1 to the Trash: another file system is mounted on %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GifLzwDecoder</name>
    <message>
        <source>Bad code</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bad code Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Code size overflow</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GifToBmp</name>
    <message>
        <source>The file holds no picture.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Dorvane Help</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HotKeyTable</name>
    <message>
        <source>Shift-</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl-</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alt-</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> or </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> to hide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> to hide/restore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Viewer mode activated. Press </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> to exit or </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> to toggle full screen mode</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ItemHint</name>
    <message>
        <source>Size : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> KB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Used : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Free : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;invalid date&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total size : &lt;unknown&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total size : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bytes used : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 dirs and %2 files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Supported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hidden</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Readonly</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zip comment:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>JpegLoader</name>
    <message>
        <source>The picture has more than %1 scans.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture is too large (%1 x %2 pixels; at most 268,435,456 pixels are shown).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not enough memory to show the picture (%1 x %2 pixels).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t open %1 (error code %2)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Lzrw1KhCompressor</name>
    <message>
        <source>LZRW1KH : no memory for HASH table</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MountToolRun</name>
    <message>
        <source>%1 did not finish within %2 seconds.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type the location of the network drive, for example smb://server/share.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a valid location.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the network drive to disconnect.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The program %1 is not installed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The program %1 could not be started: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 stopped unexpectedly.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 failed with exit code %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NewDirOrZip</name>
    <message>
        <source>Unable to create zip </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to create </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PaneHeader</name>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Description</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PaneItemDelegate</name>
    <message>
        <source>INTERNAL SOFTWARE ERROR in </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PanePanel</name>
    <message>
        <source>Go to the parent directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>QuickGo to a directory in any drive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open this directory with explorer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sort</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>by name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>by size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>by type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>by time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>by desc</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PaneSelection</name>
    <message>
        <source>Selected : %1 dirs and %2 files (%3 bytes)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PictureFile</name>
    <message>
        <source>Cannot read the file %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is not a regular file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is larger than the %1 MiB a picture may have.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it does not start as a picture of its kind.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PrivateTempFolder</name>
    <message>
        <source>Cannot create %1: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not a folder that only you can use.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SfxSets</name>
    <message>
        <source>&lt;no name&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to save the set in %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TBigByteArray</name>
    <message>
        <source>error in TBigByteArray.create: Not enough contiguous memory available<byte value="xd"/>
 requested memory block: %1 bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dynamic array index out of bounds</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TByteArray2D</name>
    <message>
        <source>Row doesn&apos;t have equal number of elements as Matrix row</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TCompressStream</name>
    <message>
        <source>The compressed data is damaged.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wrong file type</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TDlgAbout</name>
    <message>
        <source>About Dorvane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;b&gt;Dorvane&lt;/b&gt; %1&lt;br&gt;A two-pane file manager.&lt;br&gt;Built with Qt %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TDlgAttributes</name>
    <message>
        <source>Attributes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Archive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hidden</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>System</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TDlgBookmarks</name>
    <message>
        <source>Delete bookmark(s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These are your currently selected bookmarks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bookmarks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TDlgCloseQuery</name>
    <message>
        <source>Close confirmation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You have requested to quit Dorvane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please, remember that you can minimize Dorvane to the TaskBar with one HOT KEY and then recall it with the same HOT KEY.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you really want to quit Dorvane?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yes!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimize!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yes! Always quit in the future</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No! Never quit in the future</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No! Always minimize in the future</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TDlgConnectDrive</name>
    <message>
        <source>Connect drive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Location:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Location</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>For example smb://server/share, sftp://host/path, ftp://host/ or dav://host/path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connecting %1 ...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TDlgDescription</name>
    <message>
        <source>Description</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter description for selected file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste from clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TDlgDisconnectDrive</name>
    <message>
        <source>Disconnect drive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Network drives:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network drives</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disconnecting %1 ...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TDlgExtractAllZips</name>
    <message>
        <source>Extract all ZIPs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extract all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extracting...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extracted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An error occurred while extracting!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extracted and deleted</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TDlgFileError</name>
    <message>
        <source>File operation error</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TDlgNewDir</name>
    <message>
        <source>Create zip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create new directory/zip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TDlgOverwrite</name>
    <message>
        <source>folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1
%2, modified %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm file replace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This folder already contains a file named &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Would you like to replace the existing file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>with this folder?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>with this one?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TDlgProperties</name>
    <message>
        <source> bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calculating...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Properties</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Location</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contains</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Accessed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status changed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Owner</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Group</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Permissions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Objects</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>folders</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TDlgRename</name>
    <message>
        <source>Rename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename to</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TDlgSelectDir</name>
    <message>
        <source>Select directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select destination directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Directories</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Directory name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TDlgSfxZip</name>
    <message>
        <source>Sfx Zip properties</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set SFX options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dialog caption</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Command line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use TEMP directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Command line can be disabled by the user</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User can select which files should be extracted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Let the user select what to do if a file already exists</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quick set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Overwrite mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ask user when each file is found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aways overwrite existing files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Never overwrite - skip those files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Specify the name for the set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TDlgValidateSFV</name>
    <message>
        <source>Validate values</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Validate SFV values</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Length</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CRC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Result</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A problem occurred processing SFV file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to open file!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File size differs!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Processing...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Validated ok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CRC values differ!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TEnhImage</name>
    <message>
        <source>The picture %1 cannot be shown: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TExtension</name>
    <message>
        <source>Unrecognized extension block.<byte value="xd"/>
Code = $%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TFRVwFileInfo</name>
    <message>
        <source>unknown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Link to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size: %1 bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It is not there any more.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modified: %1
Accessed: %2
Created: %3
Owner: %4, group: %5
Permissions: %6</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TFRVwImage</name>
    <message>
        <source>%1x%2 pixel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TFRVwText</name>
    <message>
        <source>Show text wrapped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wrap</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show text in HEX format</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hex</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show text with original format style</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Normal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy (selected) text to clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print (selected) text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close viewer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line %1/%2:%3/%4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit mode is yet supported in HEX mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is too large to edit here (more than %2 MB).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File you are trying to edit contains some non standard ASCII characters
It could be impossible to modify but if it is,
note that overwriting it with the modified version could result in loss of these informations..
Wish to filter before editing?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TFileOpProgressWindow</name>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copying</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Moving</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deleting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Renaming</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time left: %1:%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time left: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancelling</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Counting: %1 files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 files</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TFileSource</name>
    <message>
        <source>%1 cannot store file: %2 (file is too large)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot load its file: the data is damaged.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot store file: %2 (file is missing)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot store file: %2 (%3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot write the file %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>Dorvane - </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Installing and removing are not available yet.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a valid name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select one file or folder to rename. Renaming several at once is not available yet.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>I&apos;m currently unable to set descriptions inside ZIP files. Sorry.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Attributes are not (yet) supported for compressed files.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Viewer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Viewer on/off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full screen viewer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Navigation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forward</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Root</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drives</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy selected files and directories</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Move</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move selected files and directories</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete selected files and directories</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re&amp;name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename the selected file or directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the last selected file or directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View as &amp;text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View as text the last selected file or directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>De&amp;scribe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Describe file or directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A&amp;ttributes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View/change file or directory attributes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>To zip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Properties</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh directory listing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ne&amp;w dir/zip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create new directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Go to other</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Go to the same directory that is shown in the other pane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View &amp;infos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View informations about the last selected file or directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimize Dorvane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shutdown Dorvane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy path to clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select &amp;all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files a&amp;nd directories</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Directories</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Director&amp;y</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Synchronize</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Bookmarks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add bookmark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit bookmarks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Viewer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy to clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Utility</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh drive list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uninstall</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove some software currently installed on this machine</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect drive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect network drive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disconnect drive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disconnect network drive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit mp3 ID3 tags</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Convert ZIP to EXE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extract all ZIPs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check SFV values</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Config&amp;ure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quick dir</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View as text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View infos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New dir/zip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto-size columns</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shut down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 holds more folders than the system lets one program watch: changes deep inside it may not show until you refresh.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You can&apos;t bookmark a compressed file (yet).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>INTERNAL SOFTWARE ERROR in </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot read %1: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 holds more than %2 entries: only the first %2 by name are listed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The zip component is busy with another operation</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TGifBitmap</name>
    <message>
        <source>Cannot read the file %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not enough memory to show the picture (%1 x %2 pixels).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture cannot be shown: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TGifFile</name>
    <message>
        <source>Gif Version must be 87a or 89a</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TGifSubImage</name>
    <message>
        <source>Number of colors (%1) wrong; must be a power of 2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture is too large (%1 x %2 pixels; at most %3 pixels are shown).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TRegistry</name>
    <message>
        <source>The settings file &quot;%1&quot; cannot be read: %2. Changes made in this session will not be saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot save the settings file %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid data type for &apos;%1&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to set data for &apos;%1&apos;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TSearchwin</name>
    <message>
        <source>UPPERCASE=lowercase</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter to search!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search Facility</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Search..</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Word or sentence to search for:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Searching..  </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No matches..</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 match..</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> matches..</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TTextView</name>
    <message>
        <source>Invalid tab value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lines %1 to %2 of %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>error while reading line #</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Tabortform</name>
    <message>
        <source>Analizing large text file..</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Abort</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lines so far: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time left: </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Teditorform</name>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit and don&apos;t save..</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save a copy..</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save and close..</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Select All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot save %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text Files (*.txt)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save changes to %1 ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is read-only.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 belongs to another user.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not a regular file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was changed by another program.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was changed by another program since it was opened.
Overwrite it with your text? No saves a copy instead.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save a copy?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save a copy</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TextFileReader</name>
    <message>
        <source>Not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TextSearch</name>
    <message>
        <source>Cannot read %1: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not a regular file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 got shorter during the search.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ViewerHost</name>
    <message>
        <source>Not enough memory to show %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to delete %1
May be it is still in use...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>VirtualKeys</name>
    <message>
        <source>Backspace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tab</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Caps Lock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Esc</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Space</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>End</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Home</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print Screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Num *</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Num +</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Num -</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Num /</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Num Lock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scroll Lock</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ZipFileCommands</name>
    <message>
        <source>File operations are not (yet) supported between ZIP files...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Renaming is not (yet) supported for ZIP files...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not every file could be extracted: the source ZIP was left unchanged.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you really want to DELETE the files from the source ZIP?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The extracted files could not be written to disk: the source ZIP was left unchanged.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ZipMaster</name>
    <message>
        <source>A spanned archive can not be changed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you really want to delete the selected entries from %1?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fatal Error in ZipDLL.DLL: abort exception</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error - no zip file specified!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Requested memory not available</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error - passwords do NOT match
Password ignored</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copying: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error while copying the SFX header</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error - no add password given</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error - no extract password given</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter Password </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm Password </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error while copying the SFX data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Seek error reading Zip archive!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown error in List() function
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning - Error in zip structure!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning - Garbage at the end of the zipfile!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error - no files to zip!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unattended action not possible without a password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AddFreshen or AddUpdate not possible on a spanned archive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error %.1d occurred during Auto SFX creation.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fatal Error in UnzDLL.DLL: abort exception</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning - Unattended Extract: possible not all files extracted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error - your UnzDLL.dll can not use streams, please update to version &gt;= 1.60</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ZIP DLL Loaded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ZipDllExec function not found in ZIPDLL.DLL!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GetZipDllVersion function not found in ZIPDLL.DLL!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ZIPDLL.DLL not found!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>UNZDLL Loaded!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>UnzDllExec function not found in UNZDLL.DLL!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GetUnzDllVersion function not found in UNZDLL.DLL!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>UNZDLL.DLL not found!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error - On or more of the 4 property strings mentioned below exceeds 255 characters!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error - ZIPSFX.BIN not found!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: input file is not a zip file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Input file does not exist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zip file could not be opened</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not a valid drive: %s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drive %s is NOT defined</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User canceled operation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Seek error in input file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error while reading the End Of Central Directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error while reading a central header</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A central header signature is wrong</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error while reading a central file name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error while reading a file comment</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unattended disk spanning not implemented</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please insert last disk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please insert disk volume %.1d of %.1d</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
in drive: %s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This archive is not a valid Zip archive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This is the first disk in a backup set,
please insert the last disk of this set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This is the %dth disk in a backup set,
please insert the last disk of this set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error - Self extracting archives(.exe) can not be spanned</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This is the first file in a backup set,
please choose the last file of this set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please insert disk volume %.1d</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ZipMsgXX.res is probably not linked to the executable
Missing String ID is: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The zip component is busy with another operation</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
