#!/usr/bin/env bash
# Makes everything a release ships, from the committed sources, into dist/:
#   dist/brimwell_<version>_amd64.deb         the Debian package (scripts/package-deb.sh)
#   dist/brimwell-<version>-x64.msi           the Windows installer (scripts/package-windows.sh)
#   dist/brimwell-<version>-x64-portable.zip  the Windows programs to unpack anywhere
#   dist/SHA256SUMS                           their checksums, for `sha256sum -c SHA256SUMS`
# and prints the files, their sizes and checksums.
#
# The files are reproducible: the same commit gives the same bytes, whatever the folder, the
# time or the time zone it is built at. Every time written into them is the commit's
# (SOURCE_DATE_EPOCH, taken from `git log -1` when not given); no path of the build folder
# reaches them (-ffile-prefix-map); the Windows programs' headers carry the commit's time
# instead of the link time (the linker writes zero, strip SOURCE_DATE_EPOCH); archive members
# have fixed times, owners and modes.
#
# Signed, with --sign-pfx (Authenticode, osslsigncode): brimwell.exe and brimwell-cli.exe are
# signed before they go into the MSI and the zip, then the MSI itself. Each signature is also
# kept alone, as `osslsigncode extract-signature` writes it:
#   dist/brimwell-<version>-x64.msi.p7        the MSI's signature
#   dist/signatures/brimwell.exe.p7           the programs' signatures
#   dist/signatures/brimwell-cli.exe.p7
# A signature needs the private key to make, but not to attach: anyone can rebuild the commit
# unsigned, attach the published signatures (--attach-signatures) and get the signed files
# byte for byte. The unsigned programs are what was signed, and the MSI that was signed is the
# one made from the programs with their signatures attached, so this script attaches in that
# order: programs, then packages, then the MSI. The unsigned release is always kept too, in
# build-release/unsigned/, with the apt repository's indices of the .deb.
# With --gpg-key, dist/SHA256SUMS.asc (a detached armoured signature of SHA256SUMS, which lists
# the signatures too) and dist/apt/, a flat apt repository of the .deb: Packages, Release with
# the commit's time as its date, InRelease and Release.gpg signed with the key, and the key as
# dist/apt/brimwell-archive-keyring.gpg for `signed-by=`.
#
# `scripts/release.sh --check` proves all of it: it makes throw-away keys (a CA and a
# code-signing certificate in a PKCS#12 file with a password, two GPG keys) and builds the
# signed release with them, then builds the commit once more from a clone at another path, in
# another time zone, attaching the signatures of the first build; it fails naming every
# unsigned file that differs between the two builds and every signed file the attached
# signatures do not give byte for byte. Then it checks the signatures (osslsigncode verify of
# the MSI and of the programs inside the MSI and the zip; a changed byte fails), SHA256SUMS.asc
# with gpg, and the apt repository with apt-get in a folder of its own (accepted with the key,
# refused with another, the downloaded .deb the one of dist/).
#
# Usage: scripts/release.sh [--check] [--allow-dirty] [--sign-pfx FILE [--timestamp-url URL]]
#                           [--gpg-key KEY] [--attach-signatures DIR] [--ca-file FILE]
#   --allow-dirty          build although the working tree has uncommitted changes (the release
#                          is then not the commit's; for trying the script only)
#   --sign-pfx FILE        sign the Windows files with the certificate, key and chain of this
#                          PKCS#12 file; its password in BRIMWELL_SIGN_PASSWORD (none when unset)
#   --timestamp-url URL    with --sign-pfx: add an RFC 3161 timestamp from this server (needs
#                          the network), so that the signatures outlive the certificate
#   --gpg-key KEY          sign SHA256SUMS and the apt repository with this GPG key (a user id
#                          or fingerprint in the default keyring, or GNUPGHOME's)
#   --attach-signatures DIR
#                          attach the published signatures in DIR (laid out as dist/: the
#                          MSI's .p7 and signatures/*.p7) instead of signing: gives the
#                          published signed files
#   --ca-file FILE         the root certificate (PEM) of the CA that issued the code-signing
#                          certificate, when the system's CAs do not hold it: attaching a
#                          signature checks its chain up to a root
#   RELEASE_BUILD  the folder the builds go to (default build-release); it is emptied first
set -euo pipefail
here=$PWD   # relative paths given as arguments are taken from the caller's folder
cd "$(dirname "$0")/.."
root=$PWD

usage() {
    echo "usage: $0 [--check] [--allow-dirty] [--sign-pfx FILE [--timestamp-url URL]]" \
         "[--gpg-key KEY] [--attach-signatures DIR] [--ca-file FILE]" >&2
    exit 2
}
absolute() { # PATH: PATH from the caller's folder
    case "$1" in
        /*) printf '%s\n' "$1" ;;
        *) printf '%s\n' "$here/$1" ;;
    esac
}

check=0
allow_dirty=0
sign_pfx=""
timestamp_url=""
gpg_key=""
attach_dir=""
ca_file=""
while [ $# -gt 0 ]; do
    case "$1" in
        --check) check=1 ;;
        --allow-dirty) allow_dirty=1 ;;
        --sign-pfx) [ $# -ge 2 ] || usage; sign_pfx=$(absolute "$2"); shift ;;
        --timestamp-url) [ $# -ge 2 ] || usage; timestamp_url=$2; shift ;;
        --gpg-key) [ $# -ge 2 ] || usage; gpg_key=$2; shift ;;
        --attach-signatures) [ $# -ge 2 ] || usage; attach_dir=$(absolute "$2"); shift ;;
        --ca-file) [ $# -ge 2 ] || usage; ca_file=$(absolute "$2"); shift ;;
        *) usage ;;
    esac
    shift
done

fail() { echo "release: $*" >&2; exit 1; }
if [ "$check" = 1 ] && [ -n "$sign_pfx$gpg_key$attach_dir$ca_file" ]; then
    fail "--check signs with throw-away keys of its own: give it no keys or signatures"
fi
if [ -n "$timestamp_url" ] && [ -z "$sign_pfx" ]; then
    fail "--timestamp-url timestamps the signatures of --sign-pfx: give both"
fi
if [ -n "$attach_dir" ] && [ -n "$sign_pfx" ]; then
    fail "--attach-signatures attaches published signatures instead of signing:" \
         "give it or --sign-pfx, not both"
fi
if [ -n "$sign_pfx" ] && [ ! -r "$sign_pfx" ]; then
    fail "--sign-pfx: cannot read $sign_pfx"
fi
if [ -n "$ca_file" ]; then
    [ -n "$sign_pfx$attach_dir" ] || fail "--ca-file is for --sign-pfx or --attach-signatures"
    [ -r "$ca_file" ] || fail "--ca-file: cannot read $ca_file"
fi
if [ -n "$attach_dir" ]; then
    # The file names of the published signatures; the MSI's carries the version, checked once
    # the build has named the MSI.
    for f in signatures/brimwell.exe.p7 signatures/brimwell-cli.exe.p7; do
        [ -f "$attach_dir/$f" ] || fail "--attach-signatures: no $f in $attach_dir"
    done
    compgen -G "$attach_dir/*.msi.p7" >/dev/null ||
        fail "--attach-signatures: no MSI signature (*.msi.p7) in $attach_dir"
fi

if ! git rev-parse --git-dir >/dev/null 2>&1; then
    echo "release: not a git checkout: the release is made from a commit" >&2
    exit 1
fi
if [ "$allow_dirty" = 0 ] && [ -n "$(git status --porcelain --untracked-files=normal)" ]; then
    echo "release: the working tree has changes that are not committed:" >&2
    git status --short >&2
    echo "release: commit them (a release is made from a commit), or pass --allow-dirty" >&2
    exit 1
fi

# Everything that could tell one build from another is fixed here.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export SOURCE_DATE_EPOCH
export LC_ALL=C.UTF-8
umask 022
# Every object is compiled afresh, never taken from ccache: ccache hands the compiler the
# source files' paths rewritten relative to the build folder, so the debugging information,
# and with it the GNU build id the stripped Linux programs keep, would tell a build with
# ccache from one without.
export CCACHE_DISABLE=1

started=$SECONDS
builds=${RELEASE_BUILD:-build-release}
dist=dist
rm -rf "$builds" "$dist"
mkdir -p "$builds" "$dist"
unsigned=$builds/unsigned    # the unsigned release, whatever is signed in dist/
work=$builds/signing         # unsigned and signed copies while signing, osslsigncode's log
mkdir -p "$unsigned" "$work"
signing_log=$work/osslsigncode.log

# The apt repository's indices: apt-ftparchive. Signing: osslsigncode, gpg, and openssl to read
# the certificates a signature carries. The check: openssl and faketime for its certificates,
# msiextract and unzip to take the programs out of the packages.
tools=(apt-utils)
if [ -n "$sign_pfx$attach_dir" ] || [ "$check" = 1 ]; then
    tools+=(osslsigncode openssl)
fi
if [ -n "$gpg_key" ] || [ "$check" = 1 ]; then
    tools+=(gnupg)
fi
if [ "$check" = 1 ]; then
    tools+=(faketime msitools unzip)
fi
./scripts/install-deps.sh "${tools[@]}"

# --- throw-away keys for the check ----------------------------------------------------------
# In a private temporary folder, removed at the end with the GPG agent its keyring started.
keys=""
remove_keys() {
    if [ -n "$keys" ]; then
        GNUPGHOME=$keys/gnupg gpgconf --kill all 2>/dev/null || true
        rm -rf "$keys"
    fi
}
trap remove_keys EXIT
if [ "$check" = 1 ]; then
    keys_started=$SECONDS
    keys=$(mktemp -d)
    # A CA and a code-signing certificate it issued, valid from the day before the commit (the
    # signing time) to a year from now; the PKCS#12 file holds the key, the certificate and the
    # CA's, with a password, as a certificate authority delivers them.
    not_before=$(date -u -d "@$((SOURCE_DATE_EPOCH - 86400))" '+%Y-%m-%d %H:%M:%S')
    days=$(( ($(date +%s) - SOURCE_DATE_EPOCH) / 86400 + 366 ))
    faketime "$not_before" openssl req -x509 -newkey rsa:3072 -noenc -days "$days" \
        -keyout "$keys/ca.key" -out "$keys/ca.pem" -subj "/CN=Brimwell release check CA" \
        -addext basicConstraints=critical,CA:TRUE \
        -addext keyUsage=critical,keyCertSign,cRLSign 2>"$keys/openssl.log"
    faketime "$not_before" openssl req -newkey rsa:3072 -noenc -keyout "$keys/sign.key" \
        -out "$keys/sign.csr" -subj "/CN=Brimwell release check code signing" 2>>"$keys/openssl.log"
    printf '%s\n' basicConstraints=critical,CA:FALSE keyUsage=critical,digitalSignature \
        extendedKeyUsage=codeSigning subjectKeyIdentifier=hash authorityKeyIdentifier=keyid \
        >"$keys/sign.ext"
    faketime "$not_before" openssl x509 -req -in "$keys/sign.csr" -days "$days" \
        -CA "$keys/ca.pem" -CAkey "$keys/ca.key" -CAcreateserial -extfile "$keys/sign.ext" \
        -out "$keys/sign.pem" 2>>"$keys/openssl.log"
    BRIMWELL_SIGN_PASSWORD=$(openssl rand -hex 16)
    export BRIMWELL_SIGN_PASSWORD
    openssl pkcs12 -export -inkey "$keys/sign.key" -in "$keys/sign.pem" -certfile "$keys/ca.pem" \
        -passout env:BRIMWELL_SIGN_PASSWORD -out "$keys/sign.pfx"
    sign_pfx=$keys/sign.pfx
    # Two GPG keys without passphrase: the release's, and another that apt must not accept.
    export GNUPGHOME=$keys/gnupg
    mkdir -m 700 "$GNUPGHOME"
    for who in release other; do
        gpg --batch --quiet --gen-key <<EOF
%no-protection
Key-Type: RSA
Key-Length: 3072
Key-Usage: sign
Name-Real: Brimwell release check ($who, throw-away)
Name-Email: $who-check@brimwell.invalid
Expire-Date: 0
%commit
EOF
    done
    gpg_key=$(gpg --with-colons --list-secret-keys release-check@brimwell.invalid 2>/dev/null |
        awk -F: '/^fpr/ { print $10; exit }')
    gpg --export-options export-minimal --export other-check@brimwell.invalid \
        >"$keys/other-keyring.gpg"
    echo "Throw-away keys for the check made in $((SECONDS - keys_started)) s"
fi
if [ -n "$gpg_key" ]; then
    n=$(gpg --with-colons --list-secret-keys -- "$gpg_key" 2>/dev/null | grep -c '^sec' || true)
    [ "$n" = 1 ] || fail "--gpg-key $gpg_key: names $n secret keys in the keyring, not one"
fi

# --- the Debian package --------------------------------------------------------------------
./scripts/package-deb.sh "$builds/deb"
cp "$builds"/deb/package/*.deb "$unsigned/"
deb_name=$(basename "$builds"/deb/package/*.deb)

# --- the Windows installer and the portable zip --------------------------------------------
# The programs only (no test programs), optimised and with debugging information as the CI
# build, with the paths mapped; package-windows.sh strips the debugging information.
./scripts/install-deps.sh g++-mingw-w64-x86-64-posix cmake ninja-build librsvg2-bin imagemagick optipng
win=$builds/windows
cmake -S . -B "$win" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRIMWELL_WERROR=ON \
    -DBRIMWELL_REPRODUCIBLE=ON -DBRIMWELL_BUILD_TESTS=OFF -DBRIMWELL_BUILD_BENCH=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
cmake --build "$win" -j "${JOBS:-2}"
BUILD_DIR="$win" ./scripts/package-windows.sh --no-build --no-test
cp "$win"/package/*.msi "$win"/package/*.zip "$unsigned/"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$win/CMakeCache.txt")
msi_name=$(basename "$win"/package/*.msi)
zip_name=$(basename "$win"/package/*.zip)
stage=$win/package/stage   # the stripped programs package-windows.sh packaged

# --- the apt repository's indices -----------------------------------------------------------
# A flat repository (`deb [signed-by=...] URL ./`): the .deb, Packages (and gzipped), and
# Release with the indices' checksums, dated with the commit's time.
apt_indices() { # FOLDER: the unsigned repository of the .deb in FOLDER
    mkdir -p "$1"
    cp "$unsigned/$deb_name" "$1/"
    (cd "$1" && apt-ftparchive packages . >Packages && gzip -9 -n -c Packages >Packages.gz)
    apt-ftparchive -o APT::FTPArchive::Release::Origin=Brimwell \
        -o APT::FTPArchive::Release::Label=Brimwell \
        -o APT::FTPArchive::Release::Architectures="$(dpkg-deb -f "$1/$deb_name" Architecture)" \
        -o APT::FTPArchive::Release::Date="$(date -u -R -d "@$SOURCE_DATE_EPOCH")" \
        -o APT::FTPArchive::Release::Description="Brimwell releases" \
        release "$1" >"$work/Release"
    mv "$work/Release" "$1/Release"
}
apt_indices "$unsigned/apt"

# --- checksums ----------------------------------------------------------------------------
checksums() { # FOLDER: FOLDER/SHA256SUMS of the release files in it, the signatures included
    (cd "$1" && find . -path ./apt -prune -o -type f ! -name SHA256SUMS ! -name SHA256SUMS.asc \
        -printf '%P\n' | sort | xargs sha256sum >SHA256SUMS)
}
checksums "$unsigned"

# --- Authenticode signatures --------------------------------------------------------------
osslsign() { # osslsigncode ARGUMENTS...: its output to the log, shown when it fails
    echo "+ osslsigncode $*" >>"$signing_log"
    if ! osslsigncode "$@" >>"$signing_log" 2>&1; then
        tail -n 40 "$signing_log" >&2
        if [ "$1" = attach-signature ] && tail -n 40 "$signing_log" | grep -q 'issuer certificate'; then
            echo "release: the signature's chain ends below a root the system does not hold:" \
                 "give that root with --ca-file" >&2
        fi
        fail "osslsigncode $1 failed (log: $signing_log)"
    fi
}
signature_trust() { # SIGNATURE FILE: into FILE the certificates SIGNATURE carries, the root
                    # of --ca-file, then the system's CAs
    # Attaching checks that the signature fits the file and that its chain leads to a root;
    # whether the publisher is trusted is the business of whoever verifies the signed file.
    # osslsigncode before 2.6 keeps a program's signature with its 8-byte certificate table
    # header.
    {
        openssl pkcs7 -inform DER -in "$1" -print_certs 2>/dev/null ||
            tail -c +9 "$1" | openssl pkcs7 -inform DER -print_certs 2>/dev/null ||
            true
        [ -z "$ca_file" ] || cat "$ca_file"
        cat /etc/ssl/certs/ca-certificates.crt 2>/dev/null || true
    } >"$2"
}
attach() { # UNSIGNED SIGNATURE OUT: OUT is UNSIGNED with SIGNATURE attached
    signature_trust "$2" "$work/trust.pem"
    rm -f "$3"
    osslsign attach-signature -sigin "$2" -CAfile "$work/trust.pem" \
        -TSA-CAfile "$work/trust.pem" -in "$1" -out "$3"
}
sign() { # FILE DESCRIPTION SIGNATURE: signs FILE in place and writes its signature alone to
         # SIGNATURE; fails unless SIGNATURE attached to the unsigned FILE gives the signed one
    local name unsigned_copy signed
    name=$(basename "$1")
    unsigned_copy=$work/$name.unsigned
    signed=$work/$name.signed
    cp "$1" "$unsigned_copy"
    rm -f "$signed"
    local options=(-pkcs12 "$sign_pfx" -h sha256 -n "$2" -time "$SOURCE_DATE_EPOCH")
    [ -z "$timestamp_url" ] || options+=(-ts "$timestamp_url")
    if [ -n "${BRIMWELL_SIGN_PASSWORD:-}" ]; then
        # The password through a pipe, not on the command line where others could read it.
        osslsign sign "${options[@]}" -readpass <(printf '%s' "$BRIMWELL_SIGN_PASSWORD") \
            -in "$unsigned_copy" -out "$signed"
    else
        osslsign sign "${options[@]}" -in "$unsigned_copy" -out "$signed"
    fi
    rm -f "$3"
    osslsign extract-signature -in "$signed" -out "$3"
    attach "$unsigned_copy" "$3" "$work/$name.attached"
    cmp -s "$work/$name.attached" "$signed" ||
        fail "the signature of $name, attached to the unsigned $name, does not give the signed one"
    mv "$signed" "$1"
}

signing_started=$SECONDS
programs=("brimwell.exe:Brimwell" "brimwell-cli.exe:Brimwell command-line companion")
cp "$unsigned/$deb_name" "$dist/"
if [ -n "$sign_pfx" ] || [ -n "$attach_dir" ]; then
    mkdir -p "$dist/signatures"
    # The programs as they go into the packages, then the packages made from them.
    for p in "${programs[@]}"; do
        name=${p%%:*}
        if [ -n "$sign_pfx" ]; then
            sign "$stage/$name" "${p#*:}" "$dist/signatures/$name.p7"
        else
            attach "$stage/$name" "$attach_dir/signatures/$name.p7" "$work/$name.attached"
            mv "$work/$name.attached" "$stage/$name"
            cp "$attach_dir/signatures/$name.p7" "$dist/signatures/"
        fi
    done
    BUILD_DIR="$win" ./scripts/package-windows.sh --staged --no-test >"$work/package.log" 2>&1 || {
        tail -n 40 "$work/package.log" >&2
        fail "packaging the signed programs failed (log: $work/package.log)"
    }
    cp "$win/package/$zip_name" "$dist/"
    if [ -n "$sign_pfx" ]; then
        cp "$win/package/$msi_name" "$dist/"
        sign "$dist/$msi_name" "Brimwell $version" "$dist/$msi_name.p7"
    else
        [ -f "$attach_dir/$msi_name.p7" ] ||
            fail "--attach-signatures: no $msi_name.p7 in $attach_dir (another version?)"
        attach "$win/package/$msi_name" "$attach_dir/$msi_name.p7" "$dist/$msi_name"
        cp "$attach_dir/$msi_name.p7" "$dist/"
    fi
    echo "Windows files signed ($(osslsigncode --version 2>&1 | sed -n '1s/,.*//p')) in" \
         "$((SECONDS - signing_started)) s"
else
    cp "$unsigned/$msi_name" "$unsigned/$zip_name" "$dist/"
fi
checksums "$dist"

# --- GPG: the checksums and the apt repository ---------------------------------------------
if [ -n "$gpg_key" ]; then
    gpg_sign() { # OPTION INPUT OUTPUT: INPUT signed by the release key (--detach-sign or
                 # --clearsign), armoured, with SHA-512
        gpg --batch --yes --quiet --local-user "$gpg_key" --digest-algo SHA512 --armor \
            "$1" --output "$3" "$2"
    }
    gpg_sign --detach-sign "$dist/SHA256SUMS" "$dist/SHA256SUMS.asc"
    cp -r "$unsigned/apt" "$dist/apt"
    gpg_sign --clearsign "$dist/apt/Release" "$dist/apt/InRelease"
    gpg_sign --detach-sign "$dist/apt/Release" "$dist/apt/Release.gpg"
    gpg --export-options export-minimal --export "$gpg_key" \
        >"$dist/apt/brimwell-archive-keyring.gpg"
fi
signing_time=$((SECONDS - signing_started))

echo
echo "Release of commit $(git rev-parse --short HEAD), SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH" \
     "($(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S UTC')), in $dist/:"
while read -r sum name; do
    printf '  %-40s %10s bytes  sha256 %s\n' "$name" "$(stat -c %s "$dist/$name")" "$sum"
done <"$dist/SHA256SUMS"
if [ -n "$gpg_key" ]; then
    for f in SHA256SUMS.asc apt/InRelease apt/Release.gpg apt/brimwell-archive-keyring.gpg; do
        printf '  %-40s %10s bytes\n' "$f" "$(stat -c %s "$dist/$f")"
    done
fi
[ "$check" = 0 ] || echo "(signed with the check's throw-away keys: not for publishing)"
echo "($((SECONDS - started)) s, of which signing $signing_time s)"

[ "$check" = 1 ] || exit 0

# --- the same commit once more, elsewhere, with the signatures attached ---------------------
# A clone at another path, built at another time in another time zone, must give the same
# unsigned bytes, and with the first build's signatures attached the same signed bytes. The
# clone lives beside the builds, so that removing build-release/ removes it too.
again=$root/$builds/again/brimwell
again_unsigned=$again/build-release/unsigned
again_stage=$again/build-release/windows/package/stage
echo
echo "Building the release again from a clone in $again, attaching the signatures of $dist/"
started=$SECONDS
git clone -q --no-hardlinks "$root" "$again"
git -C "$again" checkout -q "$(git rev-parse HEAD)"
env -u GNUPGHOME -u BRIMWELL_SIGN_PASSWORD TZ=Pacific/Kiritimati RELEASE_BUILD=build-release \
    "$again/scripts/release.sh" --attach-signatures "$root/$dist" --ca-file "$keys/ca.pem" \
    >"$root/$builds/again.log" 2>&1 || {
    tail -n 50 "$root/$builds/again.log" >&2
    echo "release: the second build failed (log: $builds/again.log)" >&2
    exit 1
}
rebuilt_in=$((SECONDS - started))

differ=0
differs() { # FIRST SECOND WHAT: says that FIRST and SECOND differ, with what differs inside
    echo "release: $3: $1 differs from $2" >&2
    differ=1
    # What differs inside, from diffoscope (its small Debian flavour, installed only here).
    ./scripts/install-deps.sh diffoscope-minimal >/dev/null 2>&1 || true
    if command -v diffoscope >/dev/null; then
        diffoscope --text - "$1" "$2" 2>&1 | head -n 80 >&2 || true
    fi
}
files_in() { (cd "$1" && find . -type f -printf '%P\n' | sort); }

# The unsigned release: every file the same in both builds.
for name in $(files_in "$unsigned"); do
    if [ ! -f "$again_unsigned/$name" ]; then
        echo "release: NOT REPRODUCIBLE: only the first build made $unsigned/$name" >&2
        differ=1
    elif ! cmp -s "$unsigned/$name" "$again_unsigned/$name"; then
        differs "$unsigned/$name" "$again_unsigned/$name" "NOT REPRODUCIBLE"
    fi
done
for name in $(files_in "$again_unsigned"); do
    if [ ! -f "$unsigned/$name" ]; then
        echo "release: NOT REPRODUCIBLE: only the second build made $unsigned/$name" >&2
        differ=1
    fi
done
# The signed release: the rebuild with the signatures attached gives every file of dist/ but
# those only the GPG key makes (checked below); the apt repository's indices are the unsigned
# build's.
for name in $(files_in "$dist"); do
    case "$name" in
        SHA256SUMS.asc | apt/InRelease | apt/Release.gpg | apt/brimwell-archive-keyring.gpg)
            continue ;;
        apt/*) theirs=$again_unsigned/$name ;;
        *) theirs=$again/dist/$name ;;
    esac
    if [ ! -f "$theirs" ]; then
        echo "release: SIGNATURES DO NOT REATTACH: the rebuild made no $name" >&2
        differ=1
    elif ! cmp -s "$dist/$name" "$theirs"; then
        differs "$dist/$name" "$theirs" "SIGNATURES DO NOT REATTACH"
    fi
done
for name in $(files_in "$again/dist"); do
    if [ ! -f "$dist/$name" ]; then
        echo "release: the rebuild with the signatures attached made $name, the release not" >&2
        differ=1
    fi
done
# The signed programs themselves, as they went into the MSI and the zip.
for p in "${programs[@]}"; do
    name=${p%%:*}
    if ! cmp -s "$stage/$name" "$again_stage/$name"; then
        differs "$stage/$name" "$again_stage/$name" "SIGNATURES DO NOT REATTACH"
    fi
done
if [ "$differ" = 1 ]; then
    exit 1
fi
echo "Reproducible: the second build at $again ($rebuilt_in s) gave the same unsigned" \
     "release ($unsigned/SHA256SUMS):"
cat "$unsigned/SHA256SUMS"
echo "and, with the signatures of $dist/ attached, the same signed files ($dist/SHA256SUMS):"
cat "$dist/SHA256SUMS"

# --- the signatures ---------------------------------------------------------------------------
checks_started=$SECONDS
checks=$root/$builds/check   # absolute: apt takes relative paths from its own folders
mkdir -p "$checks"
passed=0
failed=0
ok() { echo "  ok      $*"; passed=$((passed + 1)); }
bad() { echo "  FAILED  $*" >&2; failed=$((failed + 1)); }
verifies() { # FILE [CAFILE]: osslsigncode verify of FILE against CAFILE (the check's CA)
    osslsigncode verify -CAfile "${2:-$keys/ca.pem}" -in "$1" >"$checks/verify.log" 2>&1
}
echo
echo "Checking the signatures:"

# Authenticode: the MSI, and the programs inside the MSI and inside the zip.
if verifies "$dist/$msi_name"; then ok "$msi_name verifies"; else bad "$msi_name does not verify"; fi
msiextract -C "$checks/msi" "$dist/$msi_name" >/dev/null
unzip -q -d "$checks/zip" "$dist/$zip_name"
for p in "${programs[@]}"; do
    name=${p%%:*}
    for from in msi zip; do
        found=$(find "$checks/$from" -type f -name "$name")
        if [ -z "$found" ]; then
            bad "no $name in the $from"
        elif verifies "$found"; then
            ok "$name in the $from verifies"
        else
            bad "$name in the $from does not verify"
        fi
    done
done
# A signature the check's CA did not make is not trusted: the system's CAs do not know it.
if verifies "$dist/$msi_name" /etc/ssl/certs/ca-certificates.crt; then
    bad "$msi_name verifies against the system's CAs, which never issued its certificate"
else
    ok "$msi_name is refused against CAs that did not issue its certificate"
fi
# One byte changed inside what the signature covers: the MSI's string of the application
# user-model id (in the string pool, not in the signature), a byte in the middle of a program.
tamper() { # FILE OFFSET OUT: OUT is FILE with the byte at OFFSET changed
    cp "$1" "$3"
    local byte
    byte=$(od -An -tu1 -j "$2" -N1 "$1" | tr -d ' ')
    printf "\\$(printf '%03o' $(( (byte + 1) % 256 )))" |
        dd of="$3" bs=1 seek="$2" conv=notrunc status=none
    cmp -s "$1" "$3" && fail "tamper: $3 is still the same as $1"
    return 0
}
at=$(grep -obaF Brimwell.AppID.NoVersion "$dist/$msi_name" | head -n 1 | cut -d: -f1)
if [ -z "$at" ]; then
    bad "no application user-model id in $msi_name to change"
else
    tamper "$dist/$msi_name" "$at" "$checks/changed.msi"
    if verifies "$checks/changed.msi"; then
        bad "$msi_name with a byte changed at $at still verifies"
    elif grep -q MISMATCH "$checks/verify.log"; then
        ok "$msi_name with a byte changed at $at fails (digest mismatch)"
    else
        bad "$msi_name with a byte changed fails, but not on its digest"
        tail -n 20 "$checks/verify.log" >&2
    fi
fi
cli=$(find "$checks/msi" -type f -name brimwell-cli.exe)
tamper "$cli" $(( $(stat -c %s "$cli") / 2 )) "$checks/changed.exe"
if verifies "$checks/changed.exe"; then
    bad "brimwell-cli.exe with a byte changed still verifies"
elif grep -q MISMATCH "$checks/verify.log"; then
    ok "brimwell-cli.exe with a byte changed fails (digest mismatch)"
else
    bad "brimwell-cli.exe with a byte changed fails, but not on its digest"
    tail -n 20 "$checks/verify.log" >&2
fi

# GPG: the checksums' signature, with the published key only, in a keyring of its own.
keyring=$dist/apt/brimwell-archive-keyring.gpg
verifier=$keys/verifier
mkdir -m 700 "$verifier"
gpg --homedir "$verifier" --batch --quiet --import "$keyring" 2>/dev/null
gpg_verifies() { gpg --homedir "$verifier" --batch --verify "$1" "$2" >/dev/null 2>&1; }
if gpg_verifies "$dist/SHA256SUMS.asc" "$dist/SHA256SUMS"; then
    ok "SHA256SUMS.asc verifies with brimwell-archive-keyring.gpg"
else
    bad "SHA256SUMS.asc does not verify with brimwell-archive-keyring.gpg"
fi
sed '1s/^./0/' "$dist/SHA256SUMS" >"$checks/SHA256SUMS.changed"
cmp -s "$dist/SHA256SUMS" "$checks/SHA256SUMS.changed" && sed -i '1s/^./1/' "$checks/SHA256SUMS.changed"
if gpg_verifies "$dist/SHA256SUMS.asc" "$checks/SHA256SUMS.changed"; then
    bad "SHA256SUMS.asc verifies a changed SHA256SUMS"
else
    ok "SHA256SUMS.asc refuses a changed SHA256SUMS"
fi
if gpg_verifies "$dist/apt/Release.gpg" "$dist/apt/Release"; then
    ok "apt/Release.gpg verifies"
else
    bad "apt/Release.gpg does not verify"
fi
GNUPGHOME=$verifier gpgconf --kill all 2>/dev/null || true

# apt: the repository in sources of its own, apt's state and cache in a folder of their own;
# the system's sources, lists and keys are never read or written.
apt_in() { # FOLDER KEYRING COMMAND...: apt-get COMMAND with dist/apt as its only source,
           # trusted with KEYRING, and its state in FOLDER
    local folder=$1 trusted=$2
    shift 2
    mkdir -p "$folder/parts" "$folder/lists/partial" "$folder/cache/archives/partial"
    touch "$folder/status"
    echo "deb [signed-by=$trusted] file:$root/$dist/apt ./" >"$folder/sources.list"
    local options=(-o Dir::Etc::sourcelist="$folder/sources.list"
        -o Dir::Etc::sourceparts="$folder/parts" -o Dir::Etc::preferences="$folder/preferences"
        -o Dir::Etc::preferencesparts="$folder/parts" -o Dir::State="$folder"
        -o Dir::State::lists="$folder/lists" -o Dir::State::status="$folder/status"
        -o Dir::Cache="$folder/cache" -o Debug::NoLocking=1)
    # Run as root, apt reads the repository as the user _apt, who may not enter these folders.
    [ "$(id -u)" -ne 0 ] || options+=(-o APT::Sandbox::User=root)
    (cd "$folder" && apt-get "${options[@]}" "$@")
}
if apt_in "$checks/apt" "$root/$keyring" update >"$checks/apt.log" 2>&1 &&
   ! grep -q '^[WE]:' "$checks/apt.log"; then
    ok "apt-get update accepts dist/apt with brimwell-archive-keyring.gpg"
else
    bad "apt-get update does not accept dist/apt with brimwell-archive-keyring.gpg"
    cat "$checks/apt.log" >&2
fi
if apt_in "$checks/apt" "$root/$keyring" download brimwell >>"$checks/apt.log" 2>&1 &&
   cmp -s "$checks/apt/$deb_name" "$dist/$deb_name"; then
    ok "apt-get download brimwell gives dist/$deb_name"
else
    bad "apt-get download brimwell does not give dist/$deb_name"
    tail -n 20 "$checks/apt.log" >&2
fi
if apt_in "$checks/apt-other" "$keys/other-keyring.gpg" update >"$checks/apt-other.log" 2>&1; then
    bad "apt-get update accepts dist/apt with another key"
    cat "$checks/apt-other.log" >&2
elif grep -q NO_PUBKEY "$checks/apt-other.log"; then
    ok "apt-get update refuses dist/apt with another key"
else
    bad "apt-get update refuses dist/apt with another key, but not for its signature"
    cat "$checks/apt-other.log" >&2
fi

echo "(the signatures checked in $((SECONDS - checks_started)) s)"
echo "$passed passed, $failed failed"
[ "$failed" = 0 ] || exit 1
