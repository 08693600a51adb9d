# Bash completion of the quillon command: options, their values, the links operations,
# and the files quillon converts (or "-", standard input). Installed as
# share/bash-completion/completions/quillon.

_quillon() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
  COMPREPLY=()

  if [[ ${COMP_WORDS[1]-} == links && $COMP_CWORD -gt 1 ]]; then
    case $prev in
      --links) COMPREPLY=($(compgen -f -- "$cur")); compopt -o filenames 2>/dev/null; return ;;
      --lang)
        # A list separated by commas: complete the name after the last comma.
        local done=${cur%"${cur##*,}"}
        COMPREPLY=($(compgen -P "$done" -W "cpp cs java vb all" -- "${cur##*,}"))
        return ;;
    esac
    local word operation=
    for word in "${COMP_WORDS[@]:2:COMP_CWORD-2}"; do
      case $word in list|add|remove) operation=$word ;; esac
    done
    if [[ $cur == -* ]]; then
      COMPREPLY=($(compgen -W "--links --help ${operation:+--lang}" -- "$cur"))
    elif [[ -z $operation ]]; then
      COMPREPLY=($(compgen -W "list add remove" -- "$cur"))
    fi
    return
  fi

  case $prev in
    -o|--output|--data) COMPREPLY=($(compgen -d -- "$cur")); compopt -o filenames 2>/dev/null; return ;;
    --links) COMPREPLY=($(compgen -f -- "$cur")); compopt -o filenames 2>/dev/null; return ;;
    --background|--keyword|--text|--comment|--string|--number|--preprocessor|--font|-j|--jobs|\
    --max-file-size) return ;;
    --theme) COMPREPLY=($(compgen -W "light dark" -- "$cur")); return ;;
    --keywords) COMPREPLY=($(compgen -W "modern" -- "$cur") $(compgen -f -- "$cur")); return ;;
    --lang) COMPREPLY=($(compgen -W "cpp cs java vb" -- "$cur")); return ;;
    --progress) COMPREPLY=($(compgen -W "auto bar lines" -- "$cur")); return ;;
    --trees) COMPREPLY=($(compgen -W "auto full lazy" -- "$cur")); return ;;
  esac
  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "- -o --output --links --background --keyword --text --comment
                             --rich --string --number --preprocessor --theme --font --data --pages --line-numbers --xref --text-search --incremental --trees --keywords --max-file-size
                             --lang --progress -j --jobs --open -h --help --version" -- "$cur"))
    return
  fi
  if [[ $COMP_CWORD -eq 1 ]]; then
    COMPREPLY=($(compgen -W "links" -- "$cur"))
  fi
  # Sources, resources, projects and solutions, and folders to reach them.
  local IFS=$'\n' name
  for name in $(compgen -f -- "$cur"); do
    [[ -d $name ]] && { COMPREPLY+=("$name"); continue; }
    case ${name,,} in
      *.cpp|*.c|*.h|*.hpp|*.cc|*.cxx|*.hh|*.hxx|*.inl|*.cs|*.java|*.jsl|*.js|*.bas|*.cls|*.frm|*.vb|*.rc|*.bmp|*.jpg|\
      *.jpeg|*.gif|*.png|*.ico|*.cur|*.resx|*.bin|*.dsp|*.vcproj|*.vcxproj|*.csproj|\
      *.vbproj|*.vjsproj|*.sln) COMPREPLY+=("$name") ;;
    esac
  done
  compopt -o filenames 2>/dev/null
}
complete -F _quillon quillon
