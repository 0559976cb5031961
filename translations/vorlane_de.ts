<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutController</name>
    <message>
        <source>About Vorlane</source>
        <translation>Über Vorlane</translation>
    </message>
    <message>
        <source>Your recent documents, by the application that opened them.</source>
        <translation>Ihre zuletzt geöffneten Dokumente, geordnet nach der Anwendung, die sie geöffnet hat.</translation>
    </message>
    <message>
        <source>Follow Vorlane</source>
        <translation>Vorlane folgen</translation>
    </message>
    <message>
        <source>Website</source>
        <translation>Webseite</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>ActivityManagerSource</name>
    <message>
        <source>Plasma&apos;s activity manager keeps this history; Vorlane cannot clear it. Clear it in System Settings, Recent Files.</source>
        <translation>Der Aktivitätenmanager von Plasma verwaltet diesen Verlauf; Vorlane kann ihn nicht leeren. Leeren Sie ihn in den Systemeinstellungen unter „Zuletzt verwendete Dateien“.</translation>
    </message>
</context>
<context>
    <name>AppsContextMenu</name>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Clear Recent Documents</source>
        <translation>Liste der zuletzt geöffneten Dokumente leeren</translation>
    </message>
</context>
<context>
    <name>AppsTableView</name>
    <message>
        <source>Open %1</source>
        <translation>%1 öffnen</translation>
    </message>
</context>
<context>
    <name>AppsTableViewController</name>
    <message>
        <source>Applications</source>
        <translation>Anwendungen</translation>
    </message>
</context>
<context>
    <name>ButtonSegmentedCell</name>
    <message>
        <source>List View: %1</source>
        <translation>Listenansicht: %1</translation>
    </message>
    <message>
        <source>Grid View: %1</source>
        <translation>Rasteransicht: %1</translation>
    </message>
</context>
<context>
    <name>ButtonSegmentedControl</name>
    <message>
        <source>List</source>
        <translation>Liste</translation>
    </message>
    <message>
        <source>Grid</source>
        <translation>Raster</translation>
    </message>
</context>
<context>
    <name>ButtonsViewController</name>
    <message>
        <source>View</source>
        <translation>Ansicht</translation>
    </message>
</context>
<context>
    <name>ClearConfirmation</name>
    <message>
        <source>&amp;Clear</source>
        <translation>&amp;Leeren</translation>
    </message>
    <message>
        <source>Clear Recent Documents</source>
        <translation>Liste der zuletzt geöffneten Dokumente leeren</translation>
    </message>
    <message>
        <source>Clear the recent documents of %1?</source>
        <translation>Die zuletzt geöffneten Dokumente von %1 aus der Liste entfernen?</translation>
    </message>
    <message>
        <source>The list of documents %1 opened recently is erased; the documents themselves stay where they are. This cannot be undone.</source>
        <translation>Die Liste der Dokumente, die %1 zuletzt geöffnet hat, wird gelöscht; die Dokumente selbst bleiben, wo sie sind. Dies kann nicht rückgängig gemacht werden.</translation>
    </message>
    <message numerus="yes">
        <source>%1 keep their lists in the same place, and lose them too.</source>
        <translation>
            <numerusform>%1 speichert seine Liste am selben Ort und verliert sie ebenfalls.</numerusform>
            <numerusform>%1 speichern ihre Listen am selben Ort und verlieren sie ebenfalls.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>DateRules</name>
    <message>
        <source>Today</source>
        <translation>Heute</translation>
    </message>
    <message>
        <source>This week</source>
        <translation>Diese Woche</translation>
    </message>
    <message>
        <source>Last week and beyond</source>
        <translation>Letzte Woche und früher</translation>
    </message>
    <message numerus="yes">
        <source>%n years ago</source>
        <translation>
            <numerusform>vor %n Jahr</numerusform>
            <numerusform>vor %n Jahren</numerusform>
        </translation>
    </message>
    <message>
        <source>Last year</source>
        <translation>Letztes Jahr</translation>
    </message>
    <message numerus="yes">
        <source>%n months ago</source>
        <translation>
            <numerusform>vor %n Monat</numerusform>
            <numerusform>vor %n Monaten</numerusform>
        </translation>
    </message>
    <message>
        <source>Last month</source>
        <translation>Letzten Monat</translation>
    </message>
    <message numerus="yes">
        <source>%n weeks ago</source>
        <translation>
            <numerusform>vor %n Woche</numerusform>
            <numerusform>vor %n Wochen</numerusform>
        </translation>
    </message>
    <message>
        <source>Last week</source>
        <translation>Letzte Woche</translation>
    </message>
    <message numerus="yes">
        <source>%n days ago</source>
        <translation>
            <numerusform>vor %n Tag</numerusform>
            <numerusform>vor %n Tagen</numerusform>
        </translation>
    </message>
    <message>
        <source>Yesterday</source>
        <translation>Gestern</translation>
    </message>
</context>
<context>
    <name>DockMenu</name>
    <message>
        <source>Center Window</source>
        <translation>Fenster zentrieren</translation>
    </message>
    <message>
        <source>Reset Window Size</source>
        <translation>Fenstergröße zurücksetzen</translation>
    </message>
</context>
<context>
    <name>DocumentSearchController</name>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Show in File Manager</source>
        <translation>Im Dateimanager anzeigen</translation>
    </message>
    <message>
        <source>Preview &quot;%1&quot;</source>
        <translation>Vorschau von „%1“</translation>
    </message>
</context>
<context>
    <name>DocumentSearchDelegate</name>
    <message>
        <source>%1 · %2</source>
        <translation>%1 · %2</translation>
    </message>
</context>
<context>
    <name>DocumentSearchModel</name>
    <message>
        <source>%1
Opens with %2</source>
        <translation>%1
Wird mit %2 geöffnet</translation>
    </message>
</context>
<context>
    <name>DocumentSearchView</name>
    <message>
        <source>Documents found</source>
        <translation>Gefundene Dokumente</translation>
    </message>
    <message>
        <source>Find “%1”</source>
        <translation>„%1“ suchen</translation>
    </message>
    <message>
        <source>1 document</source>
        <translation>1 Dokument</translation>
    </message>
    <message>
        <source>%1 documents</source>
        <translation>%1 Dokumente</translation>
    </message>
    <message>
        <source>No recent document matches “%1”.</source>
        <translation>Kein zuletzt verwendetes Dokument passt zu „%1“.</translation>
    </message>
</context>
<context>
    <name>EmptyStateViewController</name>
    <message>
        <source>No recent documents yet</source>
        <translation>Noch keine zuletzt geöffneten Dokumente</translation>
    </message>
    <message>
        <source>Vorlane shows the documents your applications remember: the desktop&apos;s shared history of recently used files and the records some applications keep of their own. When recent-file history is switched off, nothing is remembered. Switch it on in your privacy settings (File History on GNOME, Recent Files on KDE), then open a document.</source>
        <translation>Vorlane zeigt die Dokumente, die sich Ihre Anwendungen merken: den gemeinsamen Verlauf zuletzt verwendeter Dateien der Arbeitsumgebung und die eigenen Aufzeichnungen mancher Anwendungen. Ist dieser Verlauf ausgeschaltet, wird nichts gemerkt. Schalten Sie ihn in den Datenschutzeinstellungen ein („Dateiverlauf“ in GNOME, „Zuletzt geöffnete Dateien“ in KDE) und öffnen Sie dann ein Dokument.</translation>
    </message>
    <message>
        <source>Open Privacy Settings</source>
        <translation>Datenschutzeinstellungen öffnen</translation>
    </message>
    <message>
        <source>Learn more</source>
        <translation>Mehr erfahren</translation>
    </message>
    <message>
        <source>No recent documents</source>
        <translation>Keine zuletzt geöffneten Dokumente</translation>
    </message>
    <message>
        <source>No recent documents left</source>
        <translation>Keine zuletzt geöffneten Dokumente mehr</translation>
    </message>
    <message>
        <source>The applications&apos; lists of recent documents are empty now. The documents you open from here on appear here, under the application that opened them.</source>
        <translation>Die Listen der zuletzt geöffneten Dokumente Ihrer Anwendungen sind jetzt leer. Dokumente, die Sie ab jetzt öffnen, erscheinen hier unter der Anwendung, die sie geöffnet hat.</translation>
    </message>
</context>
<context>
    <name>FilesCollectionView</name>
    <message>
        <source>Documents</source>
        <translation>Dokumente</translation>
    </message>
</context>
<context>
    <name>FilesContextMenu</name>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Show in File Manager</source>
        <translation>Im Dateimanager anzeigen</translation>
    </message>
    <message>
        <source>Remove from Recent</source>
        <translation>Aus dem Verlauf entfernen</translation>
    </message>
</context>
<context>
    <name>GridItem</name>
    <message>
        <source>Show in File Manager</source>
        <translation>Im Dateimanager anzeigen</translation>
    </message>
</context>
<context>
    <name>HotKeys</name>
    <message>
        <source>Record Shortcut</source>
        <translation>Tastenkürzel aufnehmen</translation>
    </message>
    <message>
        <source>Press Shortcut</source>
        <translation>Tastenkürzel drücken</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Use Anyway</source>
        <translation>Trotzdem verwenden</translation>
    </message>
    <message>
        <source>This keyboard shortcut is already used by the desktop.</source>
        <translation>Dieses Tastenkürzel wird bereits von der Arbeitsumgebung verwendet.</translation>
    </message>
    <message>
        <source>Most desktop shortcuts can be changed in the keyboard section of the system settings.</source>
        <translation>Die meisten Tastenkürzel der Arbeitsumgebung lassen sich in den Systemeinstellungen unter „Tastatur“ ändern.</translation>
    </message>
    <message>
        <source>This keyboard shortcut cannot be used because the menu item “%1” already uses it.</source>
        <translation>Dieses Tastenkürzel kann nicht verwendet werden, da der Menüeintrag „%1“ es bereits verwendet.</translation>
    </message>
    <message>
        <source>The desktop did not grant this shortcut.</source>
        <translation>Die Arbeitsumgebung hat dieses Tastenkürzel nicht freigegeben.</translation>
    </message>
    <message>
        <source>The desktop did not grant this shortcut. To summon %1 with a key, bind the command “%2” in the desktop&apos;s keyboard settings.</source>
        <translation>Die Arbeitsumgebung hat dieses Tastenkürzel nicht freigegeben. Um %1 per Taste aufzurufen, legen Sie in den Tastatureinstellungen der Arbeitsumgebung ein Tastenkürzel für den Befehl „%2“ an.</translation>
    </message>
</context>
<context>
    <name>IconButton</name>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
</context>
<context>
    <name>LibreOfficeSource</name>
    <message>
        <source>LibreOffice keeps this list among its settings and writes them again when it quits; clear it in LibreOffice with File, Recent Documents, Clear List.</source>
        <translation>LibreOffice speichert diese Liste in seinen Einstellungen und schreibt sie beim Beenden neu; leeren Sie sie in LibreOffice mit Datei, Zuletzt benutzte Dokumente, Liste löschen.</translation>
    </message>
</context>
<context>
    <name>MainWindowController</name>
    <message>
        <source>Quit Vorlane</source>
        <translation>Vorlane beenden</translation>
    </message>
</context>
<context>
    <name>OnboardingButton</name>
    <message>
        <source>Continue</source>
        <translation>Weiter</translation>
    </message>
</context>
<context>
    <name>OnboardingController</name>
    <message>
        <source>Welcome to Vorlane</source>
        <translation>Willkommen bei Vorlane</translation>
    </message>
    <message>
        <source>Vorlane keeps the documents you opened recently one shortcut away, grouped by the application that opened them. Press this shortcut anywhere to show them, or record your own:</source>
        <translation>Vorlane hält Ihre zuletzt geöffneten Dokumente ein Tastenkürzel entfernt bereit, geordnet nach der Anwendung, die sie geöffnet hat. Drücken Sie dieses Tastenkürzel an beliebiger Stelle, um sie anzuzeigen, oder nehmen Sie ein eigenes auf:</translation>
    </message>
    <message>
        <source>Start Vorlane at &amp;login</source>
        <translation>Vorlane bei der &amp;Anmeldung starten</translation>
    </message>
    <message>
        <source>&amp;Appearance:</source>
        <translation>&amp;Erscheinungsbild:</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Hell</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Dunkel</translation>
    </message>
</context>
<context>
    <name>PopoverTouchBar</name>
    <message>
        <source>Clear Files</source>
        <translation>Liste leeren</translation>
    </message>
</context>
<context>
    <name>PreferencesController</name>
    <message>
        <source>Vorlane Preferences</source>
        <translation>Vorlane-Einstellungen</translation>
    </message>
    <message>
        <source>&amp;Shortcut:</source>
        <translation>Tasten&amp;kürzel:</translation>
    </message>
    <message>
        <source>Login:</source>
        <translation>Anmeldung:</translation>
    </message>
    <message>
        <source>Start Vorlane at &amp;login</source>
        <translation>Vorlane bei der &amp;Anmeldung starten</translation>
    </message>
    <message>
        <source>Show Vorlane:</source>
        <translation>Vorlane anzeigen:</translation>
    </message>
    <message>
        <source>In the &amp;tray</source>
        <translation>Im &amp;Infobereich</translation>
    </message>
    <message>
        <source>In the task &amp;bar</source>
        <translation>In der Task&amp;leiste</translation>
    </message>
    <message>
        <source>Window:</source>
        <translation>Fenster:</translation>
    </message>
    <message>
        <source>Hide the window when it loses &amp;focus</source>
        <translation>Fenster ausblenden, wenn es den &amp;Fokus verliert</translation>
    </message>
    <message>
        <source>Sho&amp;w touch strip</source>
        <translation>&amp;Touch-Leiste anzeigen</translation>
    </message>
    <message>
        <source>Applications and their documents in large rows along the bottom of the window, for touch screens. Until chosen here, shown when the computer has a touch screen.</source>
        <translation>Anwendungen und ihre Dokumente in großen Zeilen am unteren Fensterrand, für Touchscreens. Solange hier nichts gewählt ist, erscheint sie, wenn der Computer einen Touchscreen hat.</translation>
    </message>
    <message>
        <source>&amp;Appearance:</source>
        <translation>&amp;Erscheinungsbild:</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Hell</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Dunkel</translation>
    </message>
    <message>
        <source>Main window:</source>
        <translation>Hauptfenster:</translation>
    </message>
    <message>
        <source>&amp;Center Window</source>
        <translation>Fenster &amp;zentrieren</translation>
    </message>
    <message>
        <source>&amp;Reset Size</source>
        <translation>&amp;Größe zurücksetzen</translation>
    </message>
    <message>
        <source>This desktop shows no tray icons, so Vorlane keeps its window in the task bar.</source>
        <translation>Diese Arbeitsumgebung zeigt keine Symbole im Infobereich, daher bleibt das Fenster von Vorlane in der Taskleiste.</translation>
    </message>
    <message>
        <source>With no tray icon to click, Vorlane stays in the task bar all the same. The shortcut, or starting Vorlane again, brings the window back.</source>
        <translation>Ohne Symbol im Infobereich bleibt Vorlane trotzdem in der Taskleiste. Das Tastenkürzel oder ein erneuter Start von Vorlane holt das Fenster zurück.</translation>
    </message>
</context>
<context>
    <name>PreviewContentView</name>
    <message>
        <source>Page %1 of %2</source>
        <translation>Seite %1 von %2</translation>
    </message>
</context>
<context>
    <name>PreviewIconPage</name>
    <message>
        <source>Modified %1, %2</source>
        <translation>Geändert: %1, %2</translation>
    </message>
    <message>
        <source>This document is no longer there.</source>
        <translation>Dieses Dokument ist nicht mehr vorhanden.</translation>
    </message>
</context>
<context>
    <name>PreviewPanel</name>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
</context>
<context>
    <name>QuickLookMenuItem</name>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Preview &quot;%1&quot;</source>
        <translation>Vorschau von „%1“</translation>
    </message>
</context>
<context>
    <name>StatusBarMenu</name>
    <message>
        <source>Open Vorlane</source>
        <translation>Vorlane öffnen</translation>
    </message>
    <message>
        <source>No global shortcut: bind “Vorlane --toggle” in the keyboard settings</source>
        <translation>Kein globales Tastenkürzel: „Vorlane --toggle“ in den Tastatureinstellungen zuweisen</translation>
    </message>
    <message>
        <source>List View</source>
        <translation>Listenansicht</translation>
    </message>
    <message>
        <source>Grid View</source>
        <translation>Rasteransicht</translation>
    </message>
    <message>
        <source>Preferences…</source>
        <translation>Einstellungen …</translation>
    </message>
    <message>
        <source>Welcome to Vorlane…</source>
        <translation>Willkommen bei Vorlane …</translation>
    </message>
    <message>
        <source>About Vorlane</source>
        <translation>Über Vorlane</translation>
    </message>
    <message>
        <source>Vorlane Website</source>
        <translation>Vorlane-Webseite</translation>
    </message>
    <message>
        <source>Follow Vorlane</source>
        <translation>Vorlane folgen</translation>
    </message>
    <message>
        <source>Send Feedback…</source>
        <translation>Rückmeldung senden …</translation>
    </message>
    <message>
        <source>Quit Vorlane</source>
        <translation>Vorlane beenden</translation>
    </message>
</context>
<context>
    <name>ToggleCommandHint</name>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>The desktop does not let Vorlane have this shortcut. To summon Vorlane with a key, add a shortcut in the desktop&apos;s keyboard settings that runs this command:</source>
        <translation>Die Arbeitsumgebung überlässt Vorlane dieses Tastenkürzel nicht. Um Vorlane per Taste aufzurufen, legen Sie in den Tastatureinstellungen der Arbeitsumgebung ein Tastenkürzel an, das diesen Befehl ausführt:</translation>
    </message>
    <message>
        <source>Copied</source>
        <translation>Kopiert</translation>
    </message>
</context>
<context>
    <name>ToggleShortcut</name>
    <message>
        <source>Show or hide %1</source>
        <translation>%1 anzeigen oder ausblenden</translation>
    </message>
</context>
<context>
    <name>TouchStrip</name>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>ViewControllerTouchBar</name>
    <message>
        <source>Apps List</source>
        <translation>Anwendungsliste</translation>
    </message>
</context>
<context>
    <name>VorlaneController</name>
    <message>
        <source>Only the recently-used files and KDE&apos;s recent documents list can lose one document; this history is cleared whole</source>
        <translation>Nur aus der Liste zuletzt verwendeter Dateien und der von KDE lassen sich einzelne Dokumente entfernen; dieser Verlauf wird nur als Ganzes geleert</translation>
    </message>
</context>
</TS>
