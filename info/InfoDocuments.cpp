#include "info/InfoDocuments.h"

namespace brimwell {

// Every document has one font, Arial, as font 0 and the default font, and its source lines
// end with carriage returns. Sizes are in half points (\fs26 is 13 points), spacing and
// indents in twips.

// Five centred bold paragraphs. The first leaves room above it for the banner picture that
// the about page lays over the top of the view.
const char kAboutRtf[] =
    R"({\rtf1\ansi\deff0 {\fonttbl {\f0 Arial;}})"
    "\r"
    R"({\colortbl;\red0\green0\blue0;\red0\green0\blue255;})"
    "\r"
    R"(\pard\qc\sb4200\cf1\b\fs32 Brimwell Utility \'96 Version )" BRIMWELL_VERSION R"(\par)"
    "\r"
    R"(\pard\qc\sb1000\cf1\b\fs32 Brimwell Ltd\par)"
    "\r"
    R"(\pard\qc\sb200\cf2\b\fs26 customercare@brimwell.example\par)"
    "\r"
    R"(\pard\qc\sb100\cf2\b\fs26 www.brimwell.example\par)"
    "\r"
    R"(\pard\qc\sb200\cf1\b\fs26 Telephone +44 (0)1632 960 500\par)"
    "\r"
    R"(})";

// The two paragraphs every system shares; each system adds its own third paragraph on how the
// printer reaches the utility there.
#define BRIMWELL_CONNECTING_SHARED                                                                 \
    R"({\rtf1\ansi\deff0 {\fonttbl {\f0 Arial;}})"                                                 \
    "\r"                                                                                           \
    R"({\colortbl;\red0\green0\blue0;})"                                                           \
    "\r"                                                                                           \
    R"(\pard\ql\cf1\b\ul\fs32 Connecting a Printer\par)"                                           \
    "\r"                                                                                           \
    R"(\pard\ql\sb200\cf1\b0\ulnone\fs26 Newer Brimwell printers can be connected to the )"        \
    R"(computer with a USB cable or through a USB-to-Parallel adapter. Older Brimwell printers )"  \
    R"(have no USB connection and need a USB-to-Parallel adapter.\par)"                            \
    "\r"                                                                                           \
    R"(\pard\ql\sb200 The utility notices by itself when USB printers and USB-to-Parallel )"       \
    R"(adapters are present, connected or disconnected. When exactly one printer or adapter is )"  \
    R"(found, it becomes the target printer automatically. On some computers several printers )"   \
    R"(or adapters are found: identify the right one and select it in the printer list.\par)"      \
    "\r"

const char kConnectingLinuxRtf[] = BRIMWELL_CONNECTING_SHARED
    R"(\pard\ql\sb200 On Linux a job goes to the printer\'92s device node, such as )"
    R"(/dev/usb/lp0. The udev rule 70-brimwell.rules, installed with the utility, lets the )"
    R"(signed-in user write to Brimwell printers and adapters. If the printer is listed but a )"
    R"(job cannot be sent, add your account to the group lp and sign in again.\par)"
    "\r"
    R"(})";

const char kConnectingWindowsRtf[] = BRIMWELL_CONNECTING_SHARED
    R"(\pard\ql\sb200 On Windows the printer needs no driver of its own: Windows\'92 own USB )"
    R"(printer driver, USB Printing Support, takes it the first time it is plugged in. If the )"
    R"(printer is not listed, switch it on, then try another USB cable or another USB port. )"
    R"(In Device Manager the printer or adapter then shows a USB Printing Support entry under )"
    R"(Universal Serial Bus controllers; if it stands elsewhere, for example under Other )"
    R"(devices, or a generic USB driver installed by another program has replaced the )"
    R"(printer\'92s, uninstall that device and plug the printer in again. In a Command Prompt, )"
    R"(brimwell-cli doctor tells what the computer sees of the printer.\par)"
    "\r"
    R"(})";

#undef BRIMWELL_CONNECTING_SHARED

const char kFirmwareRtf[] =
    R"({\rtf1\ansi\deff0 {\fonttbl {\f0 Arial;}})"
    "\r"
    R"({\colortbl;\red0\green0\blue0;})"
    "\r"
    R"(\pard\ql\cf1\b\ul\fs32 Updating Printer Firmware\par)"
    "\r"
    R"(\pard\ql\sb200\cf1\b0\ulnone\fs26 On power-up the Brimwell printer runs a BASIC )"
    R"(program stored in 'AUTO.BAS'. The utility takes a firmware update file, usually with a )"
    R"('.tpl' extension, parses and validates it, and sends it to the printer, where it is )"
    R"(stored as 'AUTO.BAS'.\par)"
    "\r"
    R"(\pard\ql\sb200 During parsing some characters or whole lines are stripped from the )"
    R"(input and {\b are not} sent to the printer:\par)"
    "\r"
    R"(\pard\ql\li250\sb80 \bullet  Trailing whitespace at the end of lines is stripped.\par)"
    "\r"
    R"(\pard\ql\li250\sb80 \bullet  Blank lines are stripped.\par)"
    "\r"
    R"(\pard\ql\li250\sb80 \bullet  Lines that begin with a '*' character are stripped. This )"
    R"(allows comments, version information and the like anywhere in the file.\par)"
    "\r"
    R"(\pard\ql\sb250 After stripping, the remaining content is validated before it is sent. )"
    R"(Content that does not meet the following rules is rejected:\par)"
    "\r"
    R"(\pard\ql\li250\sb80 \bullet  The first remaining line must be 'DOWNLOAD "AUTO.BAS"'.\par)"
    "\r"
    R"(\pard\ql\li250\sb80 \bullet  The penultimate remaining line must be 'EOP'.\par)"
    "\r"
    R"(\pard\ql\li250\sb80 \bullet  The final remaining line must be 'MOVE'.\par)"
    "\r"
    R"(\pard\ql\sb250 After a firmware update the printer must be power-cycled (switched off )"
    R"(and on again) to run the new firmware.\par)"
    "\r"
    R"(})";

const char kLogosRtf[] =
    R"({\rtf1\ansi\deff0 {\fonttbl {\f0 Arial;}})"
    "\r"
    R"({\colortbl;\red0\green0\blue0;})"
    "\r"
    R"(\pard\ql\cf1\b\ul\fs32 Creating Logo Files\par)"
    "\r"
    R"(\pard\ql\sb200\cf1\b0\ulnone\fs26 If you know a paint or graphics program, you can )"
    R"(make your own logo files. Low-resolution pictures copied from a web site are generally )"
    R"(not suitable.\par)"
    "\r"
    R"(\pard\ql\sb200 The largest permitted logo is 360 x 360 pixels. For some tester types )"
    R"(a smaller logo is needed, so that it does not overlap the product ID barcode.\par)"
    "\r"
    R"(\pard\ql\sb200 Plan the space of the logo: graphics, the text it must carry, and )"
    R"(contact details such as telephone numbers if you offer a testing and tagging )"
    R"(service.\par)"
    "\r"
    R"(\pard\ql\sb200 Accepted files are .PCX, or uncompressed Windows .BMP, with these bits )"
    R"(per pixel: PCX 1 or 8 bpp; BMP 1, 4, 8 or 24 bpp.\par)"
    "\r"
    R"(\pard\ql\sb200 The printer prints with a wax ribbon and cannot reproduce shades of grey )"
    R"(or colours. Every picture is therefore thresholded into an internal black-and-white )"
    R"(picture of one bit per pixel, which the preview shows and which is sent to the )"
    R"(printer.\par)"
    "\r"
    R"(\pard\ql\sb200 The utility previews the logo inside a drawing of a printed label, )"
    R"(which shows its orientation against the fold line and the other text of the label. )"
    R"(Logos can be rotated or inverted before they are sent.\par)"
    "\r"
    R"(\pard\ql\sb200 Printing large black areas at higher (darker) print density values can )"
    R"(make printing fail by overheating the print head and/or melting the wax ribbon.\par)"
    "\r"
    R"(})";

const char* TextInfoRtf(int nTextIndex) {
    switch (nTextIndex) {
    case TEXT_INFO_ABOUT:
        return kAboutRtf;
    case TEXT_INFO_CONNECTING:
        return ConnectingRtf();
    case TEXT_INFO_FIRMWARE:
        return kFirmwareRtf;
    case TEXT_INFO_LOGOS:
        return kLogosRtf;
    default:
        return "";
    }
}

} // namespace brimwell
