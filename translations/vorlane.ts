<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1">
<context>
    <name>AboutController</name>
    <message>
        <source>About Vorlane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your recent documents, by the application that opened them.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Follow Vorlane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Website</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ActivityManagerSource</name>
    <message>
        <source>Plasma&apos;s activity manager keeps this history; Vorlane cannot clear it. Clear it in System Settings, Recent Files.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AppsContextMenu</name>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear Recent Documents</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AppsTableView</name>
    <message>
        <source>Open %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AppsTableViewController</name>
    <message>
        <source>Applications</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ButtonSegmentedCell</name>
    <message>
        <source>List View: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Grid View: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ButtonSegmentedControl</name>
    <message>
        <source>List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Grid</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ButtonsViewController</name>
    <message>
        <source>View</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ClearConfirmation</name>
    <message>
        <source>&amp;Clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear Recent Documents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear the recent documents of %1?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The list of documents %1 opened recently is erased; the documents themselves stay where they are. This cannot be undone.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 keep their lists in the same place, and lose them too.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>DateRules</name>
    <message>
        <source>Today</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This week</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last week and beyond</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n years ago</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Last year</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n months ago</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Last month</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n weeks ago</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Last week</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n days ago</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Yesterday</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DockMenu</name>
    <message>
        <source>Center Window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset Window Size</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DocumentSearchController</name>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show in File Manager</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DocumentSearchDelegate</name>
    <message>
        <source>%1 · %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DocumentSearchModel</name>
    <message>
        <source>%1
Opens with %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DocumentSearchView</name>
    <message>
        <source>Documents found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find “%1”</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 document</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 documents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No recent document matches “%1”.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EmptyStateViewController</name>
    <message>
        <source>No recent documents yet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vorlane shows the documents your applications remember: the desktop&apos;s shared history of recently used files and the records some applications keep of their own. When recent-file history is switched off, nothing is remembered. Switch it on in your privacy settings (File History on GNOME, Recent Files on KDE), then open a document.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Privacy Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Learn more</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No recent documents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No recent documents left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The applications&apos; lists of recent documents are empty now. The documents you open from here on appear here, under the application that opened them.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FilesCollectionView</name>
    <message>
        <source>Documents</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FilesContextMenu</name>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show in File Manager</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove from Recent</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GridItem</name>
    <message>
        <source>Show in File Manager</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HotKeys</name>
    <message>
        <source>Record Shortcut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Press Shortcut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use Anyway</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This keyboard shortcut is already used by the desktop.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Most desktop shortcuts can be changed in the keyboard section of the system settings.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This keyboard shortcut cannot be used because the menu item “%1” already uses it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The desktop did not grant this shortcut.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The desktop did not grant this shortcut. To summon %1 with a key, bind the command “%2” in the desktop&apos;s keyboard settings.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>IconButton</name>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LibreOfficeSource</name>
    <message>
        <source>LibreOffice keeps this list among its settings and writes them again when it quits; clear it in LibreOffice with File, Recent Documents, Clear List.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindowController</name>
    <message>
        <source>Quit Vorlane</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OnboardingButton</name>
    <message>
        <source>Continue</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OnboardingController</name>
    <message>
        <source>Welcome to Vorlane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vorlane keeps the documents you opened recently one shortcut away, grouped by the application that opened them. Press this shortcut anywhere to show them, or record your own:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Vorlane at &amp;login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Appearance:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Light</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dark</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PopoverTouchBar</name>
    <message>
        <source>Clear Files</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PreferencesController</name>
    <message>
        <source>Vorlane Preferences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Shortcut:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Login:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Vorlane at &amp;login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Vorlane:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In the &amp;tray</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In the task &amp;bar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Window:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hide the window when it loses &amp;focus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sho&amp;w touch strip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Applications and their documents in large rows along the bottom of the window, for touch screens. Until chosen here, shown when the computer has a touch screen.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Appearance:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Light</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Main window:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Center Window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Reset Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This desktop shows no tray icons, so Vorlane keeps its window in the task bar.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>With no tray icon to click, Vorlane stays in the task bar all the same. The shortcut, or starting Vorlane again, brings the window back.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PreviewContentView</name>
    <message>
        <source>Page %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PreviewIconPage</name>
    <message>
        <source>Modified %1, %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This document is no longer there.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PreviewPanel</name>
    <message>
        <source>Preview</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QuickLookMenuItem</name>
    <message>
        <source>Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StatusBarMenu</name>
    <message>
        <source>Open Vorlane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No global shortcut: bind “Vorlane --toggle” in the keyboard settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>List View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Grid View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preferences…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Welcome to Vorlane…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About Vorlane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vorlane Website</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Follow Vorlane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send Feedback…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit Vorlane</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToggleCommandHint</name>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The desktop does not let Vorlane have this shortcut. To summon Vorlane with a key, add a shortcut in the desktop&apos;s keyboard settings that runs this command:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copied</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToggleShortcut</name>
    <message>
        <source>Show or hide %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TouchStrip</name>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ViewControllerTouchBar</name>
    <message>
        <source>Apps List</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>VorlaneController</name>
    <message>
        <source>Only the recently-used files and KDE&apos;s recent documents list can lose one document; this history is cleared whole</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
