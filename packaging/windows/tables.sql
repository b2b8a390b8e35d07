# What wixl 0.101 cannot say in WiX source, applied to its MSI by scripts/package-windows.sh
# with msibuild: one SQL statement per line (Windows Installer's SQL); '#' lines are comments.

# The Start menu shortcut points at the installed brimwell.exe itself: wixl writes every
# shortcut as an advertised one (its target a feature), which also needs the feature's
# on-demand machinery at every start.
UPDATE `Shortcut` SET `Target` = '[#brimwell.exe]' WHERE `Shortcut` = 'StartMenuBrimwell'

# The shortcut carries the window's application user-model id (PKEY_AppUserModel_ID), so the
# taskbar groups the running window with its Start menu entry.
CREATE TABLE `MsiShortcutProperty` (`MsiShortcutProperty` CHAR(72) NOT NULL, `Shortcut_` CHAR(72) NOT NULL, `PropertyKey` CHAR(255) NOT NULL, `PropVariantValue` CHAR(255) NOT NULL PRIMARY KEY `MsiShortcutProperty`)
INSERT INTO `MsiShortcutProperty` (`MsiShortcutProperty`, `Shortcut_`, `PropertyKey`, `PropVariantValue`) VALUES ('StartMenuBrimwellAppId', 'StartMenuBrimwell', '{9F4C2855-9F79-4B39-A8D0-E1D42DE1D5F3}, 5', 'Brimwell.AppID.NoVersion')

# The companion's folder at the end of the system PATH while the companion is installed:
# '=' set at install, '-' take it out again at removal, '*' the machine's variable, not the
# user's; '[~];' appends to the existing value.
CREATE TABLE `Environment` (`Environment` CHAR(72) NOT NULL, `Name` CHAR(255) NOT NULL LOCALIZABLE, `Value` CHAR(255) LOCALIZABLE, `Component_` CHAR(72) NOT NULL PRIMARY KEY `Environment`)
INSERT INTO `Environment` (`Environment`, `Name`, `Value`, `Component_`) VALUES ('CompanionOnPath', '=-*PATH', '[~];[INSTALLDIR]', 'Companion')

# The uninstall entry's install location is set right after costing has resolved INSTALLDIR,
# before RegisterProduct writes the entry: wixl places the action at the sequence's end,
# whatever After says.
UPDATE `InstallExecuteSequence` SET `Sequence` = 1001 WHERE `Action` = 'SetArpInstallLocation'

# The uninstall entry's EstimatedSize (the window's component writes it) is written after
# RegisterProduct has made the entry: Wine's RegisterProduct writes the value itself, as 0.
UPDATE `InstallExecuteSequence` SET `Sequence` = 6150 WHERE `Action` = 'WriteRegistryValues'
