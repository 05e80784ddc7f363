<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutPane</name>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Local only. Nothing leaves this computer.</source>
        <translation>Nur lokal. Nichts verlässt diesen Computer.</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>System screenshot location</source>
        <translation>Speicherort für Bildschirmfotos des Systems</translation>
    </message>
    <message>
        <source>Restore previous location</source>
        <translation>Früheren Speicherort wiederherstellen</translation>
    </message>
    <message>
        <source>Restore here if you want Print Screen to save where it did before. Dropwell does not restore on Quit.</source>
        <translation>Stell ihn hier wieder her, wenn die Druck-Taste wieder dort speichern soll, wo sie es vorher tat. Beim Beenden stellt Dropwell ihn nicht wieder her.</translation>
    </message>
    <message>
        <source>None recorded yet</source>
        <translation>Noch keiner vermerkt</translation>
    </message>
</context>
<context>
    <name>AppModel</name>
    <message>
        <source>Could not create Dropwell folders.</source>
        <translation>Die Ordner von Dropwell konnten nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Ready to capture — click the button again.</source>
        <translation>Bereit zur Aufnahme – klick noch einmal auf den Knopf.</translation>
    </message>
</context>
<context>
    <name>AppearanceSwatch</name>
    <message>
        <source>Black</source>
        <translation>Schwarz</translation>
    </message>
    <message>
        <source>Grey</source>
        <translation>Grau</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Hell</translation>
    </message>
    <message>
        <source>Follow the desktop</source>
        <translation>Wie die Arbeitsumgebung</translation>
    </message>
</context>
<context>
    <name>AtspiPageAccessibility</name>
    <message>
        <source>Dropwell could not switch on the desktop&apos;s accessibility support, which it needs to scroll the page. Turn on assistive technologies in your desktop&apos;s accessibility settings (they come with the at-spi2-core package), then try again.</source>
        <translation>Dropwell konnte die Barrierefreiheit der Arbeitsumgebung nicht einschalten, die es zum Blättern der Seite braucht. Schalte die Hilfstechnologien in den Barrierefreiheit-Einstellungen deiner Arbeitsumgebung ein (sie kommen mit dem Paket at-spi2-core) und versuch es dann noch einmal.</translation>
    </message>
</context>
<context>
    <name>AutoDeletePane</name>
    <message>
        <source>Auto-delete</source>
        <translation>Automatisch löschen</translation>
    </message>
    <message>
        <source>Screenshots &amp; recordings</source>
        <translation>Bildschirmfotos &amp; Aufzeichnungen</translation>
    </message>
    <message>
        <source>Everything else</source>
        <translation>Alles andere</translation>
    </message>
    <message>
        <source>Paused until</source>
        <translation>Pausiert bis</translation>
    </message>
    <message>
        <source>Resume expiry</source>
        <translation>Ablauf fortsetzen</translation>
    </message>
    <message>
        <source>Archives, PDFs and other Inbox files. Expired sits 24 hours for undo, then Trash.</source>
        <translation>Archive, PDFs und andere Dateien in der Inbox. Abgelaufenes bleibt 24 Stunden in Expired, falls du es zurückholen willst, dann kommt es in den Papierkorb.</translation>
    </message>
</context>
<context>
    <name>CaptureAccess</name>
    <message>
        <source>Allow screen capture, then click capture again.</source>
        <translation>Erlaube die Bildschirmaufnahme und klick dann noch einmal auf Aufnehmen.</translation>
    </message>
    <message>
        <source>Every program may capture the screen on this desktop: there is nothing to allow.</source>
        <translation>In dieser Arbeitsumgebung darf jedes Programm den Bildschirm aufnehmen: Es gibt nichts zu erlauben.</translation>
    </message>
</context>
<context>
    <name>CaptureBar</name>
    <message>
        <source>Capture</source>
        <translation>Aufnehmen</translation>
    </message>
    <message>
        <source>Visible</source>
        <translation>Sichtbar</translation>
    </message>
    <message>
        <source>Region</source>
        <translation>Bereich</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Fenster</translation>
    </message>
    <message>
        <source>Full page</source>
        <translation>Ganze Seite</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Aufzeichnen</translation>
    </message>
    <message>
        <source>Record display</source>
        <translation>Bildschirm aufzeichnen</translation>
    </message>
    <message>
        <source>Record window</source>
        <translation>Fenster aufzeichnen</translation>
    </message>
    <message>
        <source>More</source>
        <translation>Mehr</translation>
    </message>
    <message>
        <source>Recording options</source>
        <translation>Aufzeichnungsoptionen</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Microphone on</source>
        <translation>Mikrofon an</translation>
    </message>
    <message>
        <source>Microphone off</source>
        <translation>Mikrofon aus</translation>
    </message>
</context>
<context>
    <name>CaptureError</name>
    <message>
        <source>Allow Dropwell to capture the screen in your desktop&apos;s settings, then try again.</source>
        <translation>Erlaube Dropwell in den Einstellungen deiner Arbeitsumgebung, den Bildschirm aufzunehmen, und versuch es dann noch einmal.</translation>
    </message>
    <message>
        <source>Couldn&apos;t find a display to capture.</source>
        <translation>Es wurde kein Bildschirm zum Aufnehmen gefunden.</translation>
    </message>
</context>
<context>
    <name>CapturePane</name>
    <message>
        <source>Capture</source>
        <translation>Aufnahme</translation>
    </message>
    <message>
        <source>Screenshots skip Desktop. The cube writes straight into Inbox.</source>
        <translation>Bildschirmfotos landen nicht auf dem Schreibtisch. Der Würfel schreibt direkt in die Inbox.</translation>
    </message>
    <message>
        <source>Open screen capture settings</source>
        <translation>Einstellungen zur Bildschirmaufnahme öffnen</translation>
    </message>
    <message>
        <source>Screenshots</source>
        <translation>Bildschirmfotos</translation>
    </message>
    <message>
        <source>Send screenshots to Inbox</source>
        <translation>Bildschirmfotos in die Inbox schicken</translation>
    </message>
    <message>
        <source>Print Screen saves land in ~/Dropwell/Inbox.</source>
        <translation>Was die Druck-Taste speichert, landet in ~/Dropwell/Inbox.</translation>
    </message>
    <message>
        <source>Downloads</source>
        <translation>Downloads</translation>
    </message>
    <message>
        <source>Watch Downloads</source>
        <translation>Downloads beobachten</translation>
    </message>
    <message>
        <source>New finished files in ~/Downloads — archives, PDFs, disk images, anything. Never replaces the folder.</source>
        <translation>Neue, fertige Dateien in ~/Downloads – Archive, PDFs, Abbilder, alles. Ersetzt den Ordner nie.</translation>
    </message>
    <message>
        <source>Notifications</source>
        <translation>Benachrichtigungen</translation>
    </message>
    <message>
        <source>Daily expiry summary</source>
        <translation>Tägliche Zusammenfassung der Abläufe</translation>
    </message>
    <message>
        <source>A quiet recap of what is about to expire.</source>
        <translation>Ein stiller Überblick über das, was bald abläuft.</translation>
    </message>
</context>
<context>
    <name>DesktopPicking</name>
    <message>
        <source>The desktop&apos;s picker gave Dropwell nothing to capture.</source>
        <translation>Die Auswahl der Arbeitsumgebung hat Dropwell nichts zum Aufnehmen gegeben.</translation>
    </message>
</context>
<context>
    <name>DownloadsIntake</name>
    <message>
        <source>Downloads holds Dropwell&apos;s own folders, so Dropwell does not watch it.</source>
        <translation>Downloads enthält die eigenen Ordner von Dropwell, daher beobachtet Dropwell ihn nicht.</translation>
    </message>
    <message>
        <source>Downloads is inside Dropwell&apos;s own folder, so Dropwell does not watch it.</source>
        <translation>Downloads liegt im eigenen Ordner von Dropwell, daher beobachtet Dropwell ihn nicht.</translation>
    </message>
    <message>
        <source>Could not move download into Inbox.</source>
        <translation>Der Download konnte nicht in die Inbox verschoben werden.</translation>
    </message>
</context>
<context>
    <name>DesktopShortcuts</name>
    <message>
        <source>Capture a region</source>
        <translation>Bereich aufnehmen</translation>
    </message>
    <message>
        <source>Capture a window</source>
        <translation>Fenster aufnehmen</translation>
    </message>
    <message>
        <source>Capture the screen</source>
        <translation>Bildschirm aufnehmen</translation>
    </message>
    <message>
        <source>Capture a whole page</source>
        <translation>Ganze Seite aufnehmen</translation>
    </message>
    <message>
        <source>Record the screen</source>
        <translation>Bildschirm aufzeichnen</translation>
    </message>
</context>
<context>
    <name>DriftBanner</name>
    <message>
        <source>Screenshots are not going to Dropwell.</source>
        <translation>Bildschirmfotos kommen nicht bei Dropwell an.</translation>
    </message>
    <message>
        <source>Fix now</source>
        <translation>Jetzt beheben</translation>
    </message>
    <message>
        <source>Dismiss</source>
        <translation>Ausblenden</translation>
    </message>
</context>
<context>
    <name>DropwellApp</name>
    <message>
        <source>Dropwell now starts when you log in. Settings, General turns that off.</source>
        <translation>Dropwell startet jetzt, wenn du dich anmeldest. Unter Einstellungen, Allgemein schaltest du das ab.</translation>
    </message>
</context>
<context>
    <name>EmptyInbox</name>
    <message>
        <source>Capture above, or press Print Screen.</source>
        <translation>Nimm oben etwas auf oder drück die Druck-Taste.</translation>
    </message>
    <message>
        <source>No matching files</source>
        <translation>Keine passenden Dateien</translation>
    </message>
    <message>
        <source>Inbox is empty</source>
        <translation>Die Inbox ist leer</translation>
    </message>
</context>
<context>
    <name>ExpiryEngine</name>
    <message>
        <source>1 day</source>
        <translation>1 Tag</translation>
    </message>
    <message>
        <source>%1 days</source>
        <translation>%1 Tage</translation>
    </message>
    <message>
        <source>%1 hours</source>
        <translation>%1 Stunden</translation>
    </message>
</context>
<context>
    <name>ExpiryNotify</name>
    <message>
        <source>1 file expired.</source>
        <translation>1 Datei ist abgelaufen.</translation>
    </message>
    <message>
        <source>%1 files expired.</source>
        <translation>%1 Dateien sind abgelaufen.</translation>
    </message>
    <message>
        <source>1 more expires soon.</source>
        <translation>1 weitere läuft bald ab.</translation>
    </message>
    <message>
        <source>%1 more expire soon.</source>
        <translation>%1 weitere laufen bald ab.</translation>
    </message>
</context>
<context>
    <name>ExpirySchedule</name>
    <message>
        <source>Could not undo expiry for &apos;%1&apos;.</source>
        <translation>Der Ablauf von „%1“ konnte nicht rückgängig gemacht werden.</translation>
    </message>
</context>
<context>
    <name>FileActions</name>
    <message>
        <source>&apos;%1&apos; is not a valid file name</source>
        <translation>„%1“ ist kein gültiger Dateiname</translation>
    </message>
    <message>
        <source>Choose a folder</source>
        <translation>Ordner wählen</translation>
    </message>
</context>
<context>
    <name>FileFactsView</name>
    <message>
        <source>Modified %1, %2</source>
        <translation>Geändert am %1, %2</translation>
    </message>
</context>
<context>
    <name>FileIndex</name>
    <message>
        <source>index</source>
        <translation>Index</translation>
    </message>
    <message>
        <source>so it rebuilt the list from its folders</source>
        <translation>daher hat es die Liste aus seinen Ordnern neu aufgebaut</translation>
    </message>
</context>
<context>
    <name>FileOperations</name>
    <message>
        <source>Could not keep &apos;%1&apos;.</source>
        <translation>„%1“ konnte nicht behalten werden.</translation>
    </message>
    <message>
        <source>Could not move &apos;%1&apos;.</source>
        <translation>„%1“ konnte nicht verschoben werden.</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Verschieben</translation>
    </message>
    <message>
        <source>Could not move &apos;%1&apos; to Trash.</source>
        <translation>„%1“ konnte nicht in den Papierkorb verschoben werden.</translation>
    </message>
    <message>
        <source>Could not open &apos;%1&apos;.</source>
        <translation>„%1“ konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Keep folder</source>
        <translation>Zum Behalten wählen</translation>
    </message>
    <message>
        <source>Choose a Keep folder outside Dropwell&apos;s Inbox and Expired folders.</source>
        <translation>Wähl einen Ordner zum Behalten außerhalb der Dropwell-Ordner Inbox und Expired.</translation>
    </message>
</context>
<context>
    <name>FolderService</name>
    <message>
        <source>~/Dropwell/%1 leads to another folder, so Dropwell leaves it alone. Make it a plain folder, then open Dropwell again.</source>
        <translation>~/Dropwell/%1 führt in einen anderen Ordner, daher lässt Dropwell ihn in Ruhe. Mach ihn zu einem gewöhnlichen Ordner und öffne Dropwell dann wieder.</translation>
    </message>
</context>
<context>
    <name>FooterBar</name>
    <message>
        <source>Keep</source>
        <translation>Behalten</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Ctrl+C</source>
        <translation>Strg+C</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Verschieben</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Leertaste</translation>
    </message>
    <message>
        <source>Reveal</source>
        <translation>Zeigen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
</context>
<context>
    <name>GeneralPane</name>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>How Inbox looks and where Keep sends files.</source>
        <translation>Wie die Inbox aussieht und wohin Behalten die Dateien schickt.</translation>
    </message>
    <message>
        <source>Tray</source>
        <translation>Systemleiste</translation>
    </message>
    <message>
        <source>Show inbox count</source>
        <translation>Anzahl in der Inbox zeigen</translation>
    </message>
    <message>
        <source>Shows the number on the cube in the tray, and on Inbox.</source>
        <translation>Zeigt die Zahl auf dem Würfel in der Systemleiste und neben der Inbox.</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>Erscheinungsbild</translation>
    </message>
    <message>
        <source>Following the desktop, Dropwell is black when the desktop prefers dark and light otherwise. Grey sits between.</source>
        <translation>Wie die Arbeitsumgebung: Dropwell ist schwarz, wenn die Arbeitsumgebung dunkel bevorzugt, sonst hell. Grau liegt dazwischen.</translation>
    </message>
    <message>
        <source>Keep</source>
        <translation>Behalten</translation>
    </message>
    <message>
        <source>Documents</source>
        <translation>Dokumente</translation>
    </message>
    <message>
        <source>Desktop</source>
        <translation>Schreibtisch</translation>
    </message>
    <message>
        <source>Other…</source>
        <translation>Anderer …</translation>
    </message>
    <message>
        <source>Destination</source>
        <translation>Ziel</translation>
    </message>
    <message>
        <source>Choose folder…</source>
        <translation>Ordner wählen …</translation>
    </message>
    <message>
        <source>Keep is one click. Files in Kept never expire.</source>
        <translation>Behalten ist ein Klick. Dateien in Kept laufen nie ab.</translation>
    </message>
    <message>
        <source>Choose a folder…</source>
        <translation>Wähl einen Ordner …</translation>
    </message>
</context>
<context>
    <name>GnomeShortcuts</name>
    <message>
        <source>GNOME&apos;s keyboard settings do not let %1 be changed.</source>
        <translation>GNOMEs Tastatureinstellungen erlauben nicht, %1 zu ändern.</translation>
    </message>
    <message>
        <source>Saved in GNOME&apos;s keyboard settings, with the custom shortcuts.</source>
        <translation>Gespeichert in GNOMEs Tastatureinstellungen, bei den eigenen Tastenkombinationen.</translation>
    </message>
    <message>
        <source>GNOME runs this on %1, a key Dropwell cannot show.</source>
        <translation>GNOME startet das mit %1, einer Taste, die Dropwell nicht anzeigen kann.</translation>
    </message>
    <message>
        <source>GNOME cannot bind %1.</source>
        <translation>GNOME kann %1 nicht belegen.</translation>
    </message>
</context>
<context>
    <name>InboxRowText</name>
    <message>
        <source>Recording</source>
        <translation>Aufzeichnung</translation>
    </message>
    <message>
        <source>Screenshot</source>
        <translation>Bildschirmfoto</translation>
    </message>
    <message>
        <source>Downloads</source>
        <translation>Downloads</translation>
    </message>
    <message>
        <source>Browser</source>
        <translation>Browser</translation>
    </message>
    <message>
        <source>Inbox</source>
        <translation>Inbox</translation>
    </message>
    <message>
        <source>expires </source>
        <translation>Ablauf </translation>
    </message>
</context>
<context>
    <name>InboxTableView</name>
    <message>
        <source>Keep</source>
        <translation>Behalten</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Show in File Manager</source>
        <translation>Im Dateimanager zeigen</translation>
    </message>
    <message>
        <source>Move to</source>
        <translation>Verschieben nach</translation>
    </message>
    <message>
        <source>Choose Folder…</source>
        <translation>Ordner wählen …</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Open With</source>
        <translation>Öffnen mit</translation>
    </message>
    <message>
        <source>No Applications</source>
        <translation>Keine Anwendungen</translation>
    </message>
    <message>
        <source>%1 (default)</source>
        <translation>%1 (Standard)</translation>
    </message>
</context>
<context>
    <name>KGlobalAccelBus</name>
    <message>
        <source>KDE&apos;s shortcuts service did not answer: %1</source>
        <translation>KDEs Dienst für Tastenkombinationen hat nicht geantwortet: %1</translation>
    </message>
</context>
<context>
    <name>KdeShortcuts</name>
    <message>
        <source>Saved in KDE&apos;s shortcuts settings, under Dropwell.</source>
        <translation>Gespeichert in KDEs Einstellungen für Tastenkombinationen, unter Dropwell.</translation>
    </message>
    <message>
        <source>KDE runs this on %1, a key Dropwell cannot show.</source>
        <translation>KDE startet das mit %1, einer Taste, die Dropwell nicht anzeigen kann.</translation>
    </message>
    <message>
        <source>KDE runs its keys through Dropwell&apos;s desktop entry, and %1 is not installed.</source>
        <translation>KDE startet seine Tastenkombinationen über Dropwells Desktop-Eintrag, und %1 ist nicht installiert.</translation>
    </message>
    <message>
        <source>Dropwell&apos;s desktop entry %1 is from an older Dropwell: it cannot run this.</source>
        <translation>Dropwells Desktop-Eintrag %1 stammt von einem älteren Dropwell: Er kann das nicht starten.</translation>
    </message>
</context>
<context>
    <name>KeyCaptureButton</name>
    <message>
        <source>Press a key…</source>
        <translation>Drück eine Taste …</translation>
    </message>
    <message>
        <source>Set key</source>
        <translation>Taste festlegen</translation>
    </message>
</context>
<context>
    <name>MediaForwarders</name>
    <message>
        <source>PDF pages cannot be shown: Dropwell&apos;s media module is missing.</source>
        <translation>PDF-Seiten können nicht gezeigt werden: Das Medienmodul von Dropwell fehlt.</translation>
    </message>
</context>
<context>
    <name>MicrophoneCard</name>
    <message>
        <source>Microphone</source>
        <translation>Mikrofon</translation>
    </message>
    <message>
        <source>Check again</source>
        <translation>Erneut prüfen</translation>
    </message>
    <message>
        <source>Needed to speak over a screen recording. Dropwell records the sound server&apos;s default input.</source>
        <translation>Nötig, um über eine Bildschirmaufzeichnung zu sprechen. Dropwell nimmt den Standardeingang des Soundservers auf.</translation>
    </message>
    <message>
        <source>Allowed</source>
        <translation>Erlaubt</translation>
    </message>
</context>
<context>
    <name>ModelSettings</name>
    <message>
        <source>settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>so it uses the default settings</source>
        <translation>daher verwendet es die Standardeinstellungen</translation>
    </message>
</context>
<context>
    <name>OverlayView</name>
    <message>
        <source>Window</source>
        <translation>Fenster</translation>
    </message>
</context>
<context>
    <name>PageCapture</name>
    <message>
        <source>This desktop does not let Dropwell scroll other windows, so a full page cannot be captured here.</source>
        <translation>Diese Arbeitsumgebung lässt Dropwell nicht in anderen Fenstern blättern, deshalb kann hier keine ganze Seite aufgenommen werden.</translation>
    </message>
    <message>
        <source>Capturing full page…</source>
        <translation>Ganze Seite wird aufgenommen …</translation>
    </message>
    <message>
        <source>Click the page you want, then try Full page again.</source>
        <translation>Klick auf die gewünschte Seite und versuch dann „Ganze Seite“ noch einmal.</translation>
    </message>
    <message>
        <source>Couldn&apos;t stitch that page.</source>
        <translation>Die Seite konnte nicht zusammengesetzt werden.</translation>
    </message>
    <message>
        <source>Couldn&apos;t read that page.</source>
        <translation>Die Seite konnte nicht gelesen werden.</translation>
    </message>
</context>
<context>
    <name>PdfPages</name>
    <message>
        <source>This PDF cannot be read: the file is damaged or not a PDF.</source>
        <translation>Dieses PDF kann nicht gelesen werden: Die Datei ist beschädigt oder kein PDF.</translation>
    </message>
    <message>
        <source>This PDF is locked with a password.</source>
        <translation>Dieses PDF ist mit einem Passwort geschützt.</translation>
    </message>
    <message>
        <source>This PDF has no pages.</source>
        <translation>Dieses PDF hat keine Seiten.</translation>
    </message>
    <message>
        <source>This PDF cannot be read: its pages could not be drawn.</source>
        <translation>Dieses PDF kann nicht gelesen werden: Seine Seiten ließen sich nicht zeichnen.</translation>
    </message>
</context>
<context>
    <name>PermissionPanel</name>
    <message>
        <source>Allow screen capture</source>
        <translation>Bildschirmaufnahme erlauben</translation>
    </message>
    <message>
        <source>If your desktop shows a prompt, use that. Otherwise allow Dropwell to capture the screen in your desktop&apos;s settings, then click Relaunch.</source>
        <translation>Wenn deine Arbeitsumgebung nachfragt, antworte dort. Sonst erlaube Dropwell in den Einstellungen deiner Arbeitsumgebung, den Bildschirm aufzunehmen, und klick dann auf Neu starten.</translation>
    </message>
    <message>
        <source>Open Settings</source>
        <translation>Einstellungen öffnen</translation>
    </message>
    <message>
        <source>Relaunch</source>
        <translation>Neu starten</translation>
    </message>
</context>
<context>
    <name>PngEncoder</name>
    <message>
        <source>There is no picture to write</source>
        <translation>Es gibt kein Bild zum Schreiben</translation>
    </message>
    <message>
        <source>not enough memory to encode the picture</source>
        <translation>nicht genug Speicher, um das Bild zu kodieren</translation>
    </message>
</context>
<context>
    <name>PopoverHeader</name>
    <message>
        <source>Inbox</source>
        <translation>Inbox</translation>
    </message>
    <message>
        <source>More</source>
        <translation>Mehr</translation>
    </message>
    <message>
        <source>1 selected</source>
        <translation>1 ausgewählt</translation>
    </message>
    <message>
        <source>%1 selected</source>
        <translation>%1 ausgewählt</translation>
    </message>
    <message>
        <source>%1 | %2 tonight</source>
        <translation>%1 | %2 heute Nacht</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Auswählen</translation>
    </message>
    <message>
        <source>Open in File Manager</source>
        <translation>Im Dateimanager öffnen</translation>
    </message>
    <message>
        <source>Undo last expiry</source>
        <translation>Letzten Ablauf rückgängig machen</translation>
    </message>
    <message>
        <source>Pause expiry 24 hours</source>
        <translation>Ablauf 24 Stunden pausieren</translation>
    </message>
    <message>
        <source>Pause until Monday</source>
        <translation>Bis Montag pausieren</translation>
    </message>
    <message>
        <source>Resume expiry</source>
        <translation>Ablauf fortsetzen</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>Einstellungen …</translation>
    </message>
    <message>
        <source>Quit Dropwell</source>
        <translation>Dropwell beenden</translation>
    </message>
</context>
<context>
    <name>PopoverWindow</name>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
</context>
<context>
    <name>PortalRequest</name>
    <message>
        <source>The desktop&apos;s portal did not answer: %1</source>
        <translation>Das Portal der Arbeitsumgebung hat nicht geantwortet: %1</translation>
    </message>
    <message>
        <source>The desktop turned the request down.</source>
        <translation>Die Arbeitsumgebung hat die Anfrage abgelehnt.</translation>
    </message>
    <message>
        <source>The desktop&apos;s portal did not answer within %1 seconds.</source>
        <translation>Das Portal der Arbeitsumgebung hat nicht innerhalb von %1 Sekunden geantwortet.</translation>
    </message>
</context>
<context>
    <name>PortalShortcuts</name>
    <message>
        <source>The desktop&apos;s portal offers no shortcuts.</source>
        <translation>Das Portal der Arbeitsumgebung bietet keine Tastenkombinationen an.</translation>
    </message>
</context>
<context>
    <name>PreviewWindow</name>
    <message>
        <source>Previous</source>
        <translation>Vorherige</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Nächste</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
</context>
<context>
    <name>PulseConnection</name>
    <message>
        <source>There is no sound server</source>
        <translation>Es gibt keinen Soundserver</translation>
    </message>
    <message>
        <source>The sound server does not answer</source>
        <translation>Der Soundserver antwortet nicht</translation>
    </message>
</context>
<context>
    <name>PulseSoundSources</name>
    <message>
        <source>The sound server has no output</source>
        <translation>Der Soundserver hat keinen Ausgang</translation>
    </message>
    <message>
        <source>The sound server has no input other than monitors</source>
        <translation>Der Soundserver hat keinen Eingang außer Monitoren</translation>
    </message>
</context>
<context>
    <name>RecordingBarView</name>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
</context>
<context>
    <name>RecordingFlow</name>
    <message>
        <source>Click a window to record. Esc cancels.</source>
        <translation>Klick auf ein Fenster, um es aufzuzeichnen. Esc bricht ab.</translation>
    </message>
    <message>
        <source>The desktop named no window to record.</source>
        <translation>Die Arbeitsumgebung hat kein Fenster zum Aufzeichnen genannt.</translation>
    </message>
    <message>
        <source>The desktop named no display to record.</source>
        <translation>Die Arbeitsumgebung hat keinen Bildschirm zum Aufzeichnen genannt.</translation>
    </message>
</context>
<context>
    <name>RedirectNote</name>
    <message>
        <source>Redirected on this desktop: %1.</source>
        <translation>Umgeleitet in dieser Arbeitsumgebung: %1.</translation>
    </message>
    <message>
        <source>The desktop&apos;s own screenshots are moved in from %1.</source>
        <translation>Die eigenen Bildschirmfotos der Arbeitsumgebung werden aus %1 hereingeholt.</translation>
    </message>
    <message>
        <source>No screenshot tool Dropwell knows was found on this desktop, so its Print Screen saves stay where it puts them. Dropwell&apos;s own captures still land in Inbox.</source>
        <translation>In dieser Arbeitsumgebung wurde kein Bildschirmfoto-Programm gefunden, das Dropwell kennt; was die Druck-Taste speichert, bleibt daher dort, wo es abgelegt wird. Die eigenen Aufnahmen von Dropwell landen trotzdem in der Inbox.</translation>
    </message>
</context>
<context>
    <name>Renaming</name>
    <message>
        <source>Could not rename &apos;%1&apos;.</source>
        <translation>„%1“ konnte nicht umbenannt werden.</translation>
    </message>
</context>
<context>
    <name>ScreenRecorder</name>
    <message>
        <source>Already recording.</source>
        <translation>Es wird bereits aufgezeichnet.</translation>
    </message>
    <message>
        <source>Couldn&apos;t start the recorder.</source>
        <translation>Die Aufzeichnung konnte nicht starten.</translation>
    </message>
    <message>
        <source>No microphone found.</source>
        <translation>Kein Mikrofon gefunden.</translation>
    </message>
    <message>
        <source>Couldn&apos;t reach the sound server for the microphone.</source>
        <translation>Der Soundserver für das Mikrofon war nicht erreichbar.</translation>
    </message>
    <message>
        <source>Couldn&apos;t open the microphone.</source>
        <translation>Das Mikrofon konnte nicht geöffnet werden.</translation>
    </message>
</context>
<context>
    <name>ScreenshotFile</name>
    <message>
        <source>Couldn&apos;t write the screenshot.</source>
        <translation>Das Bildschirmfoto konnte nicht geschrieben werden.</translation>
    </message>
</context>
<context>
    <name>ScreenshotRedirect</name>
    <message>
        <source>Could not move screenshot into Inbox.</source>
        <translation>Das Bildschirmfoto konnte nicht in die Inbox verschoben werden.</translation>
    </message>
    <message>
        <source>Could not move screen recording into Inbox.</source>
        <translation>Die Bildschirmaufzeichnung konnte nicht in die Inbox verschoben werden.</translation>
    </message>
</context>
<context>
    <name>SettingsRanges</name>
    <message>
        <source>%1 was %2; it is now %3.</source>
        <translation>%1 stand auf %2 und steht jetzt auf %3.</translation>
    </message>
    <message>
        <source>Screenshot expiry</source>
        <translation>Der Ablauf von Bildschirmfotos</translation>
    </message>
    <message>
        <source>1 hour</source>
        <translation>1 Stunde</translation>
    </message>
    <message>
        <source>%1 hours</source>
        <translation>%1 Stunden</translation>
    </message>
    <message>
        <source>Expiry of other files</source>
        <translation>Der Ablauf anderer Dateien</translation>
    </message>
    <message>
        <source>1 day</source>
        <translation>1 Tag</translation>
    </message>
    <message>
        <source>%1 days</source>
        <translation>%1 Tage</translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Capture</source>
        <translation>Aufnahme</translation>
    </message>
    <message>
        <source>Auto-delete</source>
        <translation>Automatisch löschen</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
</context>
<context>
    <name>StartNotes</name>
    <message>
        <source>Dropwell&apos;s %1 file was too large to read</source>
        <translation>Die Datei „%1“ von Dropwell war zu groß zum Lesen</translation>
    </message>
    <message>
        <source>Dropwell could not read its %1 file</source>
        <translation>Dropwell konnte seine Datei „%1“ nicht lesen</translation>
    </message>
    <message>
        <source>the file is kept as %1.</source>
        <translation>die Datei ist als %1 aufbewahrt.</translation>
    </message>
    <message>
        <source>the file could not be kept aside.</source>
        <translation>die Datei konnte nicht beiseitegelegt werden.</translation>
    </message>
</context>
<context>
    <name>ShortcutsCard</name>
    <message>
        <source>Keyboard shortcuts</source>
        <translation>Tastenkombinationen</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Clear the key for %1</source>
        <translation>Taste für „%1“ entfernen</translation>
    </message>
    <message>
        <source>Dropwell sets keys in GNOME, KDE and Xfce, and where the desktop offers shortcuts to programs. On this desktop, bind these commands to keys in its keyboard settings:</source>
        <translation>Dropwell legt Tasten in GNOME, KDE und Xfce fest und dort, wo die Arbeitsumgebung Programmen Tastenkombinationen anbietet. Auf dieser Arbeitsumgebung belegst du diese Befehle in ihren Tastatureinstellungen mit Tasten:</translation>
    </message>
    <message>
        <source>Choose keys…</source>
        <translation>Tasten wählen…</translation>
    </message>
    <message>
        <source>Keys are kept by the desktop, which asks you for them; change or remove them in its settings. They work while Dropwell runs.</source>
        <translation>Die Arbeitsumgebung verwaltet die Tasten und fragt dich danach; ändere oder entferne sie in ihren Einstellungen. Sie wirken, solange Dropwell läuft.</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
</context>
<context>
    <name>StartupCard</name>
    <message>
        <source>Startup</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Start at login</source>
        <translation>Beim Anmelden starten</translation>
    </message>
    <message>
        <source>Dropwell keeps the desktop and Downloads empty only while it runs.</source>
        <translation>Dropwell hält Schreibtisch und Downloads nur leer, solange es läuft.</translation>
    </message>
</context>
<context>
    <name>StillCapture</name>
    <message>
        <source>Drag to select. Esc cancels.</source>
        <translation>Zieh, um auszuwählen. Esc bricht ab.</translation>
    </message>
    <message>
        <source>That selection was too small.</source>
        <translation>Die Auswahl war zu klein.</translation>
    </message>
    <message>
        <source>Click a window to capture. Esc cancels.</source>
        <translation>Klick auf ein Fenster, um es aufzunehmen. Esc bricht ab.</translation>
    </message>
</context>
<context>
    <name>ToastRow</name>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Dismiss</source>
        <translation>Ausblenden</translation>
    </message>
</context>
<context>
    <name>TrayHelp</name>
    <message>
        <source>This desktop shows no tray icons by itself. Install the AppIndicator extension (package gnome-shell-extension-appindicator) and turn it on in Extensions, and Dropwell&apos;s cube appears in the top bar.</source>
        <translation>Diese Arbeitsumgebung zeigt von sich aus keine Symbole in der Systemleiste. Installier die Erweiterung AppIndicator (Paket gnome-shell-extension-appindicator) und schalte sie unter Erweiterungen ein, dann erscheint der Würfel von Dropwell in der oberen Leiste.</translation>
    </message>
    <message>
        <source>The panel has no System Tray. Add the System Tray widget to the panel, and Dropwell&apos;s cube appears there.</source>
        <translation>Die Kontrollleiste hat keinen Systemabschnitt. Füg der Kontrollleiste das Miniprogramm Systemabschnitt hinzu, dann erscheint dort der Würfel von Dropwell.</translation>
    </message>
    <message>
        <source>The panel has no Status Tray. Add the Status Tray Plugin to the panel, and Dropwell&apos;s cube appears there.</source>
        <translation>Die Leiste hat keinen Statusbereich. Füg der Leiste das Statusbereich-Plugin hinzu, dann erscheint dort der Würfel von Dropwell.</translation>
    </message>
    <message>
        <source>No system tray was found. Add a tray (notification area) to your panel, and Dropwell&apos;s cube appears there; until then this window stands in for it.</source>
        <translation>Es wurde keine Systemleiste gefunden. Füg deiner Leiste einen Infobereich hinzu, dann erscheint dort der Würfel von Dropwell; bis dahin vertritt ihn dieses Fenster.</translation>
    </message>
</context>
<context>
    <name>TrayIcon</name>
    <message>
        <source>Open Dropwell</source>
        <translation>Dropwell öffnen</translation>
    </message>
    <message>
        <source>Quit Dropwell</source>
        <translation>Dropwell beenden</translation>
    </message>
    <message>
        <source>Recording — Esc or click Inbox then Stop</source>
        <translation>Aufzeichnung läuft – Esc oder Inbox und dann Stopp klicken</translation>
    </message>
    <message>
        <source>%1 in inbox</source>
        <translation>%1 in der Inbox</translation>
    </message>
</context>
<context>
    <name>VideoPreview</name>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
</context>
<context>
    <name>XdgAutostart</name>
    <message>
        <source>Couldn&apos;t remove %1.</source>
        <translation>%1 konnte nicht entfernt werden.</translation>
    </message>
    <message>
        <source>Couldn&apos;t create %1.</source>
        <translation>%1 konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Couldn&apos;t write %1.</source>
        <translation>%1 konnte nicht geschrieben werden.</translation>
    </message>
</context>
<context>
    <name>XfceShortcuts</name>
    <message>
        <source>Saved in Xfce&apos;s keyboard settings, with the application shortcuts.</source>
        <translation>Gespeichert in Xfces Tastatureinstellungen, bei den Tastenkombinationen für Anwendungen.</translation>
    </message>
    <message>
        <source>Xfce runs this on %1, a key Dropwell cannot show.</source>
        <translation>Xfce startet das mit %1, einer Taste, die Dropwell nicht anzeigen kann.</translation>
    </message>
    <message>
        <source>Xfce cannot bind %1.</source>
        <translation>Xfce kann %1 nicht belegen.</translation>
    </message>
</context>
<context>
    <name>XfconfBus</name>
    <message>
        <source>Xfce&apos;s settings store did not answer: %1</source>
        <translation>Xfces Einstellungsspeicher hat nicht geantwortet: %1</translation>
    </message>
</context>
<context>
    <name>XfconfXmlFile</name>
    <message>
        <source>%1 is not a settings file of Xfce&apos;s (line %2); it was left as it is.</source>
        <translation>%1 ist keine Einstellungsdatei von Xfce (Zeile %2); sie bleibt, wie sie ist.</translation>
    </message>
    <message>
        <source>Couldn&apos;t read %1.</source>
        <translation>%1 konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Couldn&apos;t create %1.</source>
        <translation>%1 konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Couldn&apos;t write %1.</source>
        <translation>%1 konnte nicht geschrieben werden.</translation>
    </message>
</context>
</TS>
