# A certificate authority for the tests and the demo, made afresh for each run
# (no key is ever kept in the repository); source it, then call
#   test_ca_make DIR
# which writes into DIR (PEM files, keys unencrypted):
#   root.pem                     the test authority: the test run trusts it in
#                                the Wine machine (trust_root.exe)
#   localhost.pem/.key           made out by it for localhost and 127.0.0.1
#   elsewhere.pem/.key           made out by it for elsewhere.tiqora.example
#   stranger-root.pem            another authority, never trusted
#   stranger.pem/.key            made out by that one for localhost
#   expired.pem/.key             made out by the test authority for localhost
#                                and 127.0.0.1, valid from 30 days ago to 2
#                                days ago
#   not-yet-valid.pem/.key       the same, valid from 2 days ahead to 30 days
#                                ahead
#   client-only.pem/.key         the same, valid now, for client
#                                authentication only (no server use)
#   self-signed.pem/.key         a server certificate for localhost and
#                                127.0.0.1 signed by its own key, from no
#                                authority
# The authorities are valid from 31 days ago to 31 days ahead, so every
# certificate's validity lies within its issuer's and a refused certificate
# is refused for its own dates, not its issuer's.
# Needs the openssl command (and GNU date).

test_ca_log() { printf '[test-ca] %s\n' "$*"; }

# test_ca_issue DIR NAME ISSUER SUBJECT_CN FROM UNTIL EXTENSION...
# Makes the key DIR/NAME.key and the certificate DIR/NAME.pem, signed with the
# key of DIR/ISSUER.pem ("self": with its own key), valid from FROM until
# UNTIL (words for date -d, e.g. "2 days ago"), with the extensions given, one
# per argument. openssl ca is used because it takes both dates; its database
# and log live in DIR/NAME.ca while it works.
test_ca_issue() {
  local dir=$1 name=$2 issuer=$3 subject=$4 from until work
  from=$(date -u -d "$5" +%Y%m%d%H%M%SZ) && until=$(date -u -d "$6" +%Y%m%d%H%M%SZ) || return 1
  shift 6
  work=$dir/$name.ca
  mkdir -p "$work" && : >"$work/index.txt" || return 1
  {
    printf '%s\n' "[ca]" "default_ca = issue" "[issue]" "database = $work/index.txt" \
      "new_certs_dir = $work" "rand_serial = yes" "default_md = sha256" "policy = any" \
      "unique_subject = no" "[any]" "commonName = supplied" "[extensions]"
    printf '%s\n' "$@"
  } >"$work/ca.cnf"
  local signer=(-cert "$dir/$issuer.pem" -keyfile "$dir/$issuer.key")
  [ "$issuer" = self ] && signer=(-selfsign -keyfile "$dir/$name.key")
  openssl req -new -newkey rsa:2048 -nodes -subj "/CN=$subject" \
    -keyout "$dir/$name.key" -out "$work/request.csr" >"$work/openssl.log" 2>&1 &&
  openssl ca -batch -config "$work/ca.cnf" -extensions extensions "${signer[@]}" -in "$work/request.csr" \
    -startdate "$from" -enddate "$until" -notext -out "$dir/$name.pem" >>"$work/openssl.log" 2>&1 || return 1
  rm -rf "$work"  # kept when openssl failed: its openssl.log tells why
}

# test_ca_root DIR NAME COMMON_NAME
test_ca_root() {
  test_ca_issue "$1" "$2" self "$3" "31 days ago" "31 days" \
    "basicConstraints=critical,CA:TRUE" "keyUsage=critical,keyCertSign,cRLSign" \
    "subjectKeyIdentifier=hash" "authorityKeyIdentifier=keyid:always"
}

# test_ca_server DIR NAME ISSUER SUBJECT_ALT_NAMES [KEY_USE [FROM UNTIL]]
# A server's certificate (KEY_USE: the extended key usage, serverAuth unless
# given), valid from now for 7 days unless FROM and UNTIL are given.
test_ca_server() {
  test_ca_issue "$1" "$2" "$3" "Tiqora Desk test server $2" "${6:-now}" "${7:-7 days}" \
    "subjectAltName=$4" "basicConstraints=critical,CA:FALSE" \
    "keyUsage=critical,digitalSignature,keyEncipherment" "extendedKeyUsage=${5:-serverAuth}" \
    "subjectKeyIdentifier=hash" "authorityKeyIdentifier=keyid:always"
}

test_ca_make() {
  local dir=$1
  if ! command -v openssl >/dev/null; then
    test_ca_log "no openssl command: cannot make the test certificates"
    return 1
  fi
  rm -rf "$dir" && mkdir -p "$dir" || return 1
  local made local_names="DNS:localhost,IP:127.0.0.1"
  made=$(date -u +%Y-%m-%dT%H:%M:%SZ)
  if ! test_ca_root "$dir" root "Tiqora Desk test authority $made" ||
     ! test_ca_server "$dir" localhost root "$local_names" ||
     ! test_ca_server "$dir" elsewhere root "DNS:elsewhere.tiqora.example" ||
     ! test_ca_root "$dir" stranger-root "Tiqora Desk untrusted test authority $made" ||
     ! test_ca_server "$dir" stranger stranger-root "$local_names" ||
     ! test_ca_server "$dir" expired root "$local_names" serverAuth "30 days ago" "2 days ago" ||
     ! test_ca_server "$dir" not-yet-valid root "$local_names" serverAuth "2 days" "30 days" ||
     ! test_ca_server "$dir" client-only root "$local_names" clientAuth ||
     ! test_ca_server "$dir" self-signed self "$local_names"; then
    test_ca_log "making the test certificates in $dir failed"
    return 1
  fi
  # The authorities' keys are needed no more once the servers' certificates
  # are made.
  rm -f "$dir/root.key" "$dir/stranger-root.key"
}
